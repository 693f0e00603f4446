// QLTWIN's entry. The main window arrives with the document lifecycle; until
// then the program only reports what it would open.
#include "version.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream(stderr) << Version::ProductName << " Ver." << Version::dotted()
                        << ": the main window is not built yet; use qltcard.\n";
    return 0;
}
