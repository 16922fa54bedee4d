// The settings page's lines on the built-in synth: frames per period, its length, the sound
// server it plays through, and the priority the sequencer and audio threads obtain (real-time,
// a nice level, or none).
#include "launcher/ConfigForm.h"
#include "launcher/LauncherWidgets.h"

#include <QLabel>

namespace tamtara {

namespace {

// SDL's driver names as a player knows the sound systems.
QString ServerName(const std::string& driver) {
    if (driver == "pipewire") return "PipeWire";
    if (driver == "pulseaudio") return "PulseAudio";
    if (driver == "alsa") return "ALSA";
    return QString::fromStdString(driver);
}

} // namespace

QString TConfigForm::SoundLatencyText(int periodFrames, const std::string& priority,
                                      const std::string& audioDriver) {
    QString line;
    // The sound server, where known, in place of the synth's name: the line holds only one.
    const QString through = audioDriver.empty() ? QString("内蔵シンセ") : ServerName(audioDriver);
    if (periodFrames > 0)
        line = QString("%1: %2 サンプル (%3 ms)")
                   .arg(through)
                   .arg(periodFrames)
                   .arg(periodFrames * 1000.0 / 48000.0, 0, 'f', 1);
    if (priority.empty()) return line;
    QString kind;
    if (priority.rfind("real-time", 0) == 0)
        kind = "リアルタイム";
    else if (priority.rfind("nice ", 0) == 0)
        kind = QString("nice %1").arg(QString::fromStdString(priority.substr(5, priority.find(' ', 5) - 5)));
    else
        kind = "通常 (リアルタイム不可)";
    if (priority.find("RealtimeKit") != std::string::npos) kind += " (RealtimeKit)";
    return line + (line.isEmpty() ? "" : "\n") + "優先度: " + kind;
}

void TConfigForm::BuildSoundLatencyLine() {
    SoundLatencyLabel = MakeChild<QLabel>(ConfigSheet);
    SoundLatencyLabel->setGeometry(8, 248, 196, 32);
    SoundLatencyLabel->setText(
        SoundLatencyText(Services.SynthPeriodFrames, Services.SynthPriority, Services.SynthAudioDriver));
}

} // namespace tamtara
