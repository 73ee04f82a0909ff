// The media controls' view of the player core and their requests, on the silent output
// without a bus (the service then stays unregistered but answers every request the same
// way) and without a window: a host stands in for the bar.
#include "core/corefixture.h"

#include "player/mprisplayer.h"
#include "player/mprisservice.h"

#include "platform/files.h"
#include "platform/mci/smfwriter.h"

#include <QCoreApplication>
#include <QDBusObjectPath>
#include <QSignalSpy>
#include <QTimer>

using testing_support::CoreTest;

namespace {

// The window's part as the bar plays it: files are taken in as a drop after the request
// returns, and the position bar is 80 pixels wide.
class FakeHost : public TMprisHost
{
public:
    explicit FakeHost(TPlayerCore &core)
        : core_(core)
    {
    }
    void OpenFromDesktop(const std::vector<std::string> &paths) override
    {
        ++raised;
        QTimer::singleShot(0, [this, paths] { core_.OpenFiles(paths); });
    }
    void RaiseBar() override { ++raised; }
    void CloseFromDesktop() override { ++closed; }
    int PositionBarWidth() const override { return 80; }
    void ShowRequestError(const std::string &message) override { errors.push_back(message); }

    int raised = 0;
    int closed = 0;
    std::vector<std::string> errors;

private:
    TPlayerCore &core_;
};

class MprisTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        host_ = std::make_unique<FakeHost>(*core_);
        service_ = std::make_unique<TMprisService>(*core_, *host_,
                                                   QDBusConnection(QStringLiteral("none")));
    }
    void TearDown() override
    {
        service_.reset();
        host_.reset();
        CoreTest::TearDown();
    }
    // Songs queued as an intake leaves them, the first started.
    void Start(const std::vector<std::pair<std::string, std::uint32_t>> &songs)
    {
        for (const auto &[name, lengthMs] : songs)
            Enqueue(Song(name, lengthMs), "  " + name + " title\t");
        Queue().SetCurrentIndex(0);
        Queue().SetLastIndex(static_cast<int>(songs.size()) - 1);
        core_->StartCurrentSong();
    }

    std::unique_ptr<FakeHost> host_;
    std::unique_ptr<TMprisService> service_;
};

} // namespace

// Catches the status or the song reported wrongly: a title untrimmed or undecoded, a
// length not in microseconds, a URL that is not the played file's, Can* flags that
// promise what the bar's rules refuse.
TEST_F(MprisTest, StatusAndSongFollowTheBar)
{
    EXPECT_EQ(service_->Status(), TMprisStatus()) << "nothing loaded: stopped, nothing allowed";
    EXPECT_EQ(
        MetadataMap(service_->Status()).value("mpris:trackid").value<QDBusObjectPath>().path(),
        "/org/mpris/MediaPlayer2/TrackList/NoTrack");

    Start({{"a.mid", 200000}, {"b.mid", 3000}});
    TMprisStatus status = service_->Status();
    EXPECT_EQ(status.playback, TMprisPlayback::Playing);
    EXPECT_EQ(status.title, "a.mid title");
    EXPECT_EQ(status.url, QString::fromStdString("file://" + program_.Path() + "/a.mid"));
    EXPECT_EQ(status.lengthUs, 200000000);
    EXPECT_TRUE(status.canPlay && status.canPause && status.canSeek && status.canGoNext);
    EXPECT_FALSE(status.canGoPrevious);
    Advance(1234);
    EXPECT_EQ(service_->PositionUs(), 1234000);

    core_->PauseSong();
    status = service_->Status();
    EXPECT_EQ(status.playback, TMprisPlayback::Paused);
    EXPECT_FALSE(status.canSeek || status.canGoNext)
        << "the bar seeks and moves on only while playing";
}

// Catches lyrics missing from the metadata, kept for the next song, or a change of lyrics
// alone not being announced.
TEST_F(MprisTest, MetadataCarriesTheSongsLyrics)
{
    mci::SmfWriter song(500, 0);
    song.Tempo(0, 500000);
    song.Meta(100, 0x05, "Twin")
        .Meta(400, 0x05, "kle/")
        .Meta(800, 0x05, "lit")
        .Meta(1200, 0x05, "tle");
    song.EndAt(4000);
    Enqueue(program_.Write("sung.mid", song.Bytes()), "sung");
    Enqueue(Song("plain.mid", 3000), "plain");
    Queue().SetCurrentIndex(0);
    Queue().SetLastIndex(1);
    core_->StartCurrentSong();
    const TMprisStatus sung = service_->Status();
    EXPECT_EQ(MetadataMap(sung).value("xesam:asText").toString(), "Twinkle\nlittle");

    core_->NextSong(true);
    const TMprisStatus plain = service_->Status();
    EXPECT_FALSE(MetadataMap(plain).contains("xesam:asText"));
    TMprisStatus unsung = sung;
    unsung.lyrics.clear();
    EXPECT_TRUE(MprisChangedProperties(unsung, sung).contains("Metadata"));
}

// Catches a URL that loses or re-encodes a file name's bytes (a Shift-JIS name from an
// archive must stay exactly what the file system holds).
TEST(MprisFileUrl, KeepsEveryByte)
{
    EXPECT_EQ(FileUrl("/songs/a b#1.mid"), "file:///songs/a%20b%231.mid");
    EXPECT_EQ(FileUrl("/\x8b\xc8.mid"), "file:///%8B%C8.mid");
    EXPECT_EQ(FileUrl("/曲.mid"), "file:///%E6%9B%B2.mid");
}

// Catches the media controls' Pause resuming (as the bar's Pause button does), PlayPause
// not toggling, and Stop or Next acting where the bar's buttons would not.
TEST_F(MprisTest, RequestsFollowTheBarsRules)
{
    Start({{"a.mid", 3000}, {"b.mid", 3000}});
    service_->Pause();
    EXPECT_EQ(Device().Mode(), mci::mpPaused);
    service_->Pause();
    EXPECT_EQ(Device().Mode(), mci::mpPaused);
    service_->Stop(); // the Stop button does nothing while paused
    service_->Next();
    EXPECT_EQ(Device().Mode(), mci::mpPaused);
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    service_->PlayPause();
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    service_->PlayPause();
    EXPECT_EQ(Device().Mode(), mci::mpPaused);
    service_->Play();
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);

    service_->Next();
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_FALSE(service_->Status().canGoNext);
    service_->Next(); // at LastIndex: nothing
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(ResetsSent(), 2);
    service_->Previous();
    EXPECT_EQ(Queue().CurrentIndex(), 0);

    service_->Stop();
    EXPECT_EQ(Device().Mode(), mci::mpStopped);
    EXPECT_EQ(Device().Position(), 0);
    service_->PlayPause();
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}

// Catches seeks that miss the position bar's steps, round a short forward seek back to
// where it started, accept a stale track id or a position past the end, or leave the
// media controls without a Seeked notice.
TEST_F(MprisTest, SeeksGoThroughThePositionBar)
{
    Start({{"a.mid", 200000}, {"b.mid", 3000}}); // one step of the bar is 2500 ms
    QSignalSpy jumps(core_.get(), &TPlayerCore::PositionJumped);
    service_->Seek(1000000);
    EXPECT_EQ(Device().Position(), 2500) << "forward to the next step, not back to 0";
    service_->Seek(-1000000);
    EXPECT_EQ(Device().Position(), 0);
    service_->Seek(-5000000);
    EXPECT_EQ(Device().Position(), 0);
    ASSERT_EQ(jumps.size(), 3);
    EXPECT_EQ(jumps.at(0).at(0).toLongLong(), 2500);

    const QString track = service_->Status().trackId;
    service_->SetPosition(track, 101000000);
    EXPECT_EQ(Device().Position(), 100000);
    service_->SetPosition(track, 102000000);
    EXPECT_EQ(Device().Position(), 102500);
    service_->SetPosition(QStringLiteral("/org/sonolux/Sonolux/Track/999"), 0);
    service_->SetPosition(track, 200000001);
    service_->SetPosition(track, -1);
    EXPECT_EQ(Device().Position(), 102500) << "stale, past the end and negative are ignored";

    service_->Seek(200000000); // past the end: Next
    EXPECT_EQ(Queue().CurrentIndex(), 1);
}

// Catches targets outside the bar, a division by a zero step, or rounding the wrong way.
TEST(PositionBarX, StepsRoundAsAskedAndStayOnTheBar)
{
    EXPECT_EQ(PositionBarX(100000, 200000, 80, TStepRounding::Down), 40);
    EXPECT_EQ(PositionBarX(101000, 200000, 80, TStepRounding::Down), 40);
    EXPECT_EQ(PositionBarX(101000, 200000, 80, TStepRounding::Up), 41);
    EXPECT_EQ(PositionBarX(101000, 200000, 80, TStepRounding::Nearest), 40);
    EXPECT_EQ(PositionBarX(101300, 200000, 80, TStepRounding::Nearest), 41);
    EXPECT_EQ(PositionBarX(199999, 200000, 80, TStepRounding::Up), 79);
    EXPECT_EQ(PositionBarX(-5, 200000, 80, TStepRounding::Up), 0);
    EXPECT_EQ(PositionBarX(50, 79, 80, TStepRounding::Nearest), 0);
}

// Catches a track id that changes while its entry stays (also when the entry moves), or
// one handed on to another entry after its own has gone.
TEST(MprisTrackIds, StayWithTheirEntry)
{
    PlayQueue queue;
    for (const char *name : {"a", "b", "c"})
        queue.Append(TPlayEntry{"", name, name, name, ""});
    TMprisTrackIds ids;
    const QString a = ids.PathFor(queue.index(0, 0));
    const QString c = ids.PathFor(queue.index(2, 1));
    EXPECT_NE(a, c);
    queue.Move(2, 0); // c a b
    EXPECT_EQ(ids.PathFor(queue.index(0, 0)), c);
    EXPECT_EQ(ids.PathFor(queue.index(1, 0)), a);
    queue.Remove(1); // c b
    queue.Insert(1, TPlayEntry{"", "a", "a", "a", ""});
    const QString again = ids.PathFor(queue.index(1, 0));
    EXPECT_NE(again, a);
    EXPECT_NE(again, c);
}

// Catches a file URL's bytes being re-encoded on their way to the bar, and other URLs taken.
TEST_F(MprisTest, OpenUriTakesInLocalFilesAsADrop)
{
    const std::string name = "\x8b\xc8.mid"; // Shift-JIS
    const std::string path = Song(name, 3000);
    Enqueue(Song("old.mid", 3000));
    EXPECT_FALSE(service_->OpenUri(QStringLiteral("http://example.org/a.mid")));
    EXPECT_FALSE(service_->OpenUri(QStringLiteral("file://otherhost/a.mid")));
    EXPECT_FALSE(service_->OpenUri(QStringLiteral("not a uri")));

    ASSERT_TRUE(service_->OpenUri(FileUrl(path)));
    QCoreApplication::processEvents();
    ASSERT_EQ(Queue().Count(), 1) << "the list is replaced";
    EXPECT_EQ(Queue().Entry(0).FilePath, path);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    EXPECT_EQ(host_->raised, 1);
}

// Catches Raise or Quit not reaching the window, or a failed request's message lost instead
// of shown by the window once the call has been answered.
TEST_F(MprisTest, WindowRequestsAndErrorsGoToTheHost)
{
    service_->Raise();
    service_->Quit();
    EXPECT_EQ(host_->raised, 1);
    EXPECT_EQ(host_->closed, 1);
    service_->RunCall([] { throw std::runtime_error("no device"); });
    EXPECT_TRUE(host_->errors.empty()) << "shown only after the answer";
    QCoreApplication::processEvents();
    EXPECT_EQ(host_->errors, std::vector<std::string>{"no device"});
}

// Catches a Volume the desktop cannot write (a read-only property), a volume that does not
// reach the device or is taken out of range, and a change the desktop is not told of.
TEST_F(MprisTest, VolumeIsTheDevicesAndChangesAreAnnounced)
{
    EXPECT_DOUBLE_EQ(service_->Status().volume, 1.0);
    auto *adaptor = service_->findChild<TMprisPlayerAdaptor *>();
    ASSERT_NE(adaptor, nullptr);
    ASSERT_TRUE(adaptor->setProperty("Volume", 0.4));
    EXPECT_DOUBLE_EQ(Device().Volume(), 0.4);
    EXPECT_DOUBLE_EQ(adaptor->property("Volume").toDouble(), 0.4);
    service_->SetVolume(3.0);
    EXPECT_DOUBLE_EQ(Device().Volume(), 1.0);

    Start({{"a.mid", 3000}});
    const TMprisStatus before = service_->Status();
    service_->SetVolume(-0.5);
    const QVariantMap changed = MprisChangedProperties(before, service_->Status());
    EXPECT_EQ(changed.keys(), QStringList{QStringLiteral("Volume")});
    EXPECT_DOUBLE_EQ(changed.value(QStringLiteral("Volume")).toDouble(), 0.0);
    EXPECT_TRUE(MprisChangedProperties(before, before).isEmpty());
}
