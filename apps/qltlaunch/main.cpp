// QLTLaunch's entry; its window arrives with its own subsystem.
#include "core/common/version.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream(stderr) << "QLTLaunch (" << Version::ProductName << " Ver." << Version::dotted()
                        << ") is not built yet.\n";
    return 0;
}
