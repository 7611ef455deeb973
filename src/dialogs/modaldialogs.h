#pragma once

namespace ovra {

// Closes every modal dialog and message box of the process, innermost first, as a
// cancel. Each exec() then returns to the code that opened it, which must check
// that what it works on still exists; run before the clock unloads underneath them.
void closeModalDialogs();

} // namespace ovra
