// Runs the launcher's QtTest classes headless: the offscreen platform, a private runtime folder
// and the game's font aliases, all set up before the application object exists.
#include "launcher/LauncherTests.h"
#include "platform/display/FontAliases.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <memory>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a runtime folder only its user can enter; CI runs as root without one.
    std::unique_ptr<QTemporaryDir> runtimeFolder;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeFolder = std::make_unique<QTemporaryDir>();
        QFile::setPermissions(runtimeFolder->path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeFolder->path().toLocal8Bit());
    }
    tamtara::RegisterFontAliases();
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int failures = 0;
    for (const auto& makeTest : tamtara::testing::LauncherTests()) {
        std::unique_ptr<QObject> test = makeTest();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
