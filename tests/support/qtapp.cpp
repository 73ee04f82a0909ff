#include "support/qtapp.h"

#include <QApplication>
#include <cstdlib>

namespace testing_support {

QApplication &EnsureApplication()
{
    static int argc = 1;
    static char name[] = "sonolux-tests";
    static char *argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Made once and never destroyed: tearing an application down during the program's
    // exit races the toolkit's own global objects.
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

} // namespace testing_support
