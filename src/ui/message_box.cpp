// The text of the exception being handled, as the error box shows it.
#include "ui/message_box.h"

#include "ui/text.h"

namespace lumivex::ui {

std::wstring currentExceptionText() {
  try {
    throw;
  } catch (const AppError& e) {
    return e.text();
  } catch (const std::exception& e) {
    return widen(e.what());
  } catch (...) {
    return L"Unknown error";
  }
}

}  // namespace lumivex::ui
