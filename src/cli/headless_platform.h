// The platform of the command line: no window, no cursor. Every message box is written to the
// error stream as "caption: text" and answered OK; what is drawn on the window goes to a canvas
// the caller lends (none: drawing is dropped).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/platform.h"

class CHeadlessPlatform final : public Platform {
 public:
  explicit CHeadlessPlatform(std::ostream& err) : m_err(err) {}

  MsgResult MessageBox(std::string_view text, std::string_view caption,
                       MsgButtons buttons) override;
  void SetBusyCursor(BusyCursor) override {}
  void Beep() override {}
  void RepaintNow() override {}
  void InitialUpdate() override {}
  Canvas& WindowCanvas() override { return m_pWindow ? *m_pWindow : NullCanvas(); }
  // The colour the command line gave, or Cancel when none is waiting.
  bool ChooseColour(Colorref& crInOut) override {
    if (!m_crAnswer) return false;
    crInOut = *m_crAnswer;
    m_crAnswer.reset();
    return true;
  }
  void AnswerNextColour(std::optional<Colorref> crAnswer) { m_crAnswer = crAnswer; }
  bool SetStatusText(std::string_view, std::string_view) override { return false; }
  // The dialog is answered with the values the command line gave (OK), or cancelled when none
  // are waiting.
  bool RunDialog(const DialogSpec& dialog, int anValues[]) override;
  // "caption: text", then each line of the detail as it is.
  void MessageWithDetail(std::string_view text, std::string_view caption,
                         std::string_view detail) override;
  void ShowNotice(std::string_view strLine) override;
  // One line each, as they are, not as "caption: text".
  void ShowDiagnostics(std::span<const std::string> astrLines) override;

  // The values the next dialog is answered OK with, one per field ("" keeps the field as the
  // dialog opens it; a dialog without fields takes none); nullopt: the next dialog is
  // cancelled.
  void AnswerNextDialog(std::optional<std::vector<std::string>> astrFields) {
    m_astrAnswer = std::move(astrFields);
  }

  // The canvas that stands in for the window from now on (nullptr: none).
  void SetWindowCanvas(Canvas* pCanvas) { m_pWindow = pCanvas; }
  int MessageCount() const { return m_nMessages; }

 private:
  std::ostream& m_err;
  Canvas* m_pWindow = nullptr;
  int m_nMessages = 0;
  std::optional<std::vector<std::string>> m_astrAnswer;
  std::optional<Colorref> m_crAnswer;
};
