#include "support/recording_platform.h"

#include "core/dialogs.h"

Colorref CRecordingCanvas::GetPixel(int x, int y) {
  auto it = m_mapPixels.find({x, y});
  return it == m_mapPixels.end() ? Rgb(255, 255, 255) : it->second;
}

void CRecordingCanvas::Clear() { *this = CRecordingCanvas(); }

const RecordedText* CRecordingCanvas::TextAt(int x, int y) const {
  for (auto it = m_aTexts.rbegin(); it != m_aTexts.rend(); ++it) {
    if (it->x == x && it->y == y) return &*it;
  }
  return nullptr;
}

MsgResult CRecordingPlatform::MessageBox(std::string_view text, std::string_view caption,
                                         MsgButtons buttons) {
  m_aMessages.push_back({std::string(text), std::string(caption)});
  m_aMessageButtons.push_back(buttons);
  if (m_qAnswers.empty()) return MsgResult::Ok;
  MsgResult result = m_qAnswers.front();
  m_qAnswers.pop_front();
  return result;
}

bool CRecordingPlatform::SetStatusText(std::string_view strPane0, std::string_view strPane1) {
  if (!m_bHasStatusBar) return false;
  ++m_nStatusUpdates;
  m_strPane0 = strPane0;
  m_strPane1 = strPane1;
  return true;
}

bool CRecordingPlatform::ChooseColour(Colorref& crInOut) {
  m_aColourDialogStarts.push_back(crInOut);
  if (m_qColours.empty()) return false;
  crInOut = m_qColours.front();
  m_qColours.pop_front();
  return true;
}

bool CRecordingPlatform::RunDialog(const DialogSpec& dialog, int anValues[]) {
  m_aDialogStarts.emplace_back(anValues, anValues + dialog.aFields.size());
  if (m_qDialogAnswers.empty()) return false;
  const std::vector<int>& anAnswer = m_qDialogAnswers.front();
  for (std::size_t i = 0; i < anAnswer.size() && i < dialog.aFields.size(); ++i) {
    anValues[i] = anAnswer[i];
  }
  m_qDialogAnswers.pop_front();
  return true;
}
