// Takes the README's picture of the bar singing a lyric line: the bar plays a small song
// with lyrics on the silent output under a private X server, the clock is set half way
// through a line, and the server's screen is grabbed where the bar stands.
//
//     lyrics_screenshot OUTPUT.png
//
// Exits with 0 once OUTPUT.png is written, 1 on any failure (said on stderr).
#include "app/appstate.h"
#include "app/datafolder.h"
#include "player/main.h"
#include "playlist/view.h"

#include "platform/dynlib.h"
#include "platform/mci/clock.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/smfwriter.h"
#include "support/tempfolder.h"
#include "support/xserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace {

const std::string Dist = SONOLUX_DIST_DIR;
constexpr QPoint BarPlace(40, 40);

// One line sung from 1 s to 4.2 s (a tick is a millisecond), then a second line.
std::string LyricSong()
{
    mci::SmfWriter song(500, 0);
    song.Tempo(0, 500000);
    song.Meta(0, 0x03, "Evening Star");
    const std::pair<int, const char *> syllables[] = {
        {1000, "Shine "}, {1400, "on, "}, {1800, "lit"},    {2200, "tle "},  {2600, "eve"},
        {3000, "ning "},  {3400, "star"}, {4200, "/Light"}, {4800, " the "}, {5400, "way"}};
    for (const auto &[tick, text] : syllables) {
        song.Meta(tick, 0x05, text);
        song.Event(tick, mci::MidiMessage{0x90, 67, 90});
        song.Event(tick + 300, mci::NoteOff(0, 67));
    }
    return song.EndAt(9000).Bytes();
}

// Lets the window system and the bar's timers catch up for ms of real time.
void Settle(int ms)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void CopyFromDist(const testing_support::TempFolder &program, const std::string &relative)
{
    std::filesystem::create_directories(std::filesystem::path(program / relative).parent_path());
    std::filesystem::copy_file(Dist + "/" + relative, program / relative);
}

int Shoot(const QString &output)
{
    testing_support::TempFolder program;
    testing_support::TempFolder runtime;
    ::chmod(runtime.Path().c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    platform::SetLibrarySearchFolder(Dist);
    CopyFromDist(program, "format/GM.MID");
    CopyFromDist(program, "skin/default.mbd");
    const std::string song = program.Write("evening.mid", LyricSong());

    auto clock = std::make_shared<mci::VirtualClock>();
    auto silent = std::make_shared<mci::SilentOutput>(clock);
    TMidi_main bar(std::make_unique<mci::TMediaPlayer>(silent));
    SetProgramFolder(program.Path() + "/");
    Tview_form view;
    bar.SetViewForm(&view);
    bar.show();
    bar.move(BarPlace);
    ShowLyrics = true;
    bar.WMDropFiles({song});
    if (bar.MediaPlayer1().Mode() != mci::mpPlaying) {
        std::fprintf(stderr, "the song did not start\n");
        return 1;
    }
    // Half way through the line: "Shine on, lit" sung, "tle" half, the rest to come.
    clock->Advance(std::chrono::milliseconds(2400));
    Settle(1500);
    if (!bar.LyricShown()) {
        std::fprintf(stderr, "the bar shows no lyric line\n");
        return 1;
    }
    const QRect place = bar.frameGeometry();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
        0, place.x(), place.y(), place.width(), place.height());
    bar.StopSong();
    if (shot.isNull() || !shot.save(output, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 1;
    }
    const testing_support::XvfbServer server(QSize(720, 120));
    if (server.Display().empty()) {
        std::fprintf(stderr, "no X server: %s\n", server.Error().c_str());
        return 1;
    }
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    return Shoot(QString::fromLocal8Bit(argv[1]));
}
