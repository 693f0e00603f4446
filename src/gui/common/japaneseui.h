#pragma once
// The programs speak Japanese whatever the desktop's language: Qt's own
// texts (the buttons and labels of the standard file, font and colour
// dialogs) come from Qt's Japanese translation when it is installed.

class QCoreApplication;

namespace JapaneseUi {

// Loads Qt's Japanese translation into the application; false when it is
// not installed (Qt's English texts then stay).
bool install(QCoreApplication &app);

} // namespace JapaneseUi
