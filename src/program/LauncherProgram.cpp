// The toolkit's start-up around the launcher: the game's font aliases, the numeric locale, the
// launcher first, then the game window, then the message loop.
#include "program/LauncherProgram.h"

#include "launcher/ConfigForm.h"
#include "platform/display/FontAliases.h"
#include "platform/midi/SoundFontLocator.h"
#include "program/MainFormGameWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>

namespace tamtara {

int RunLauncher(int& argc, char** argv, LauncherStart& start) {
    // The launcher's "ＭＳ Ｐゴシック" must find the same face as the game's screens.
    RegisterFontAliases();
    QApplication application(argc, argv);
    // QApplication takes the user's locale for everything; numbers stay in the C locale so no
    // reading or writing of a number depends on where the player lives.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Tamtara ");
    // The launcher speaks Japanese whatever the desktop's language: the toolkit's own dialogs
    // (the folder chooser) too, when its translations are installed.
    QTranslator toolkitWords;
    if (toolkitWords.load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitWords);

    std::unique_ptr<TMainForm> game = start.CreateGameWindow();
    MainFormGameWindow gameWindow(*game, start.StartTimes);
    const std::string audioProblem = start.AudioProblem.valid() ? start.AudioProblem.get() : std::string();
    TConfigFormServices services{&gameWindow,          start.MidiDriver,   start.IniPath,
                                 start.SoundFontFound, start.MidiInDriver, audioProblem};
    services.DefaultSongFolders = DefaultSongFolders(start.Paths);
    services.SoundFonts = start.SoundFonts;
    services.UseSoundFont = SetPreferredSoundFont;
    services.DataFolder = start.Paths.DataFolder;
    services.RecordsFolder = start.Paths.RecordsFolder;
    services.SynthPeriodFrames = start.SynthPeriodFrames;
    services.SynthAudioDriver = start.SynthAudioDriver;
    if (start.SynthPriority.valid()) services.SynthPriority = start.SynthPriority.get();
    TConfigForm launcher(services);
    QObject::connect(&launcher, &TConfigForm::Closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    launcher.show();
    application.exec();
    return launcher.ExitCode();
}

} // namespace tamtara
