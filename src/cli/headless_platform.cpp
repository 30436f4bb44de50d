#include "cli/headless_platform.h"

#include <string>

#include "core/dialogs.h"

MsgResult CHeadlessPlatform::MessageBox(std::string_view text, std::string_view caption,
                                        MsgButtons buttons) {
  // A script says itself when to save: it is never asked, and what it opens next is opened.
  if (buttons == MsgButtons::SaveDiscardCancel) return MsgResult::Discard;
  // Nor is it offered work left behind by a desktop program: it never asks that question.
  if (buttons == MsgButtons::RestoreDiscard) return MsgResult::Discard;
  // Nobody is there to cancel: every question is answered OK, as a script would want. One
  // message is one line, so a text that breaks its lines is joined with spaces.
  std::string strText(text);
  for (char& c : strText) {
    if (c == '\n') c = ' ';
  }
  std::erase(strText, '\r');
  m_err << caption << ": " << strText << '\n';
  m_err.flush();
  ++m_nMessages;
  return MsgResult::Ok;
}

bool CHeadlessPlatform::RunDialog(const DialogSpec& dialog, int anValues[]) {
  if (!m_astrAnswer) return false;
  const std::vector<std::string>& astr = *m_astrAnswer;
  for (std::size_t i = 0; i < dialog.aFields.size() && i < astr.size(); ++i) {
    int nValue = 0;
    if (dialog.aFields[i].eKind != FieldKind::Fixed && ParseInteger(astr[i], nValue)) {
      anValues[i] = nValue;
    }
  }
  m_astrAnswer.reset();
  return true;
}

void CHeadlessPlatform::ShowDiagnostics(std::span<const std::string> astrLines) {
  for (const std::string& strLine : astrLines) m_err << strLine << '\n';
  m_err.flush();
}

void CHeadlessPlatform::MessageWithDetail(std::string_view text, std::string_view caption,
                                          std::string_view detail) {
  MessageBox(text, caption, MsgButtons::Ok);
  if (detail.empty()) return;
  m_err << detail << (detail.back() == '\n' ? "" : "\n");
  m_err.flush();
}

void CHeadlessPlatform::ShowNotice(std::string_view strLine) {
  m_err << strLine << '\n';
  m_err.flush();
}
