#include "cli/headless_platform.h"

MsgResult CHeadlessPlatform::MessageBox(std::string_view text, std::string_view caption,
                                        MsgButtons) {
  // Nobody is there to cancel: every question is answered OK, as a script would want.
  m_err << caption << ": " << text << '\n';
  m_err.flush();
  ++m_nMessages;
  return MsgResult::Ok;
}
