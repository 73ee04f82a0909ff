#include "platform/instance.h"
#include "platform/openmessage.h"

#include "platform/files.h"
#include "support/scopedenv.h"
#include "support/tempfolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QSignalSpy>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace platform;

namespace {

QCoreApplication &App()
{
    static int argc = 1;
    static char name[] = "instance_test";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Each test uses a private runtime folder so it never meets a real running player.
class InstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        App();
        ::chmod(runtime_.Path().c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    }
    testing_support::TempFolder runtime_;
};

} // namespace

// Catches a second copy not finding the first, or a claim being granted twice.
TEST_F(InstanceTest, SecondClaimFindsTheFirst)
{
    EXPECT_FALSE(SingleInstance::IsRunning("TMidi_main"));
    SingleInstance first("TMidi_main");
    ASSERT_TRUE(first.Claim());
    EXPECT_TRUE(SingleInstance::IsRunning("TMidi_main"));

    SingleInstance second("TMidi_main");
    EXPECT_FALSE(second.Claim());
    EXPECT_FALSE(SingleInstance::IsRunning("TMidi_other"));
}

// Catches a socket left by a crashed copy blocking every later start.
TEST_F(InstanceTest, StaleSocketIsTakenOver)
{
    const std::string path = InstanceSocketPath("TMidi_main");
    {
        // Leave a socket file behind with nobody listening.
        QLocalServer stale;
        stale.setSocketOptions(QLocalServer::UserAccessOption);
        ASSERT_TRUE(stale.listen(QString::fromStdString(path)));
        stale.close();
    }
    SingleInstance fresh("TMidi_main");
    EXPECT_TRUE(fresh.Claim());
    EXPECT_TRUE(fresh.IsClaimed());
}

// Catches a claim that outlives its holder, so that no copy could start after it.
TEST_F(InstanceTest, ClaimEndsWithItsHolder)
{
    {
        SingleInstance first("TMidi_main");
        ASSERT_TRUE(first.Claim());
        EXPECT_TRUE(first.Claim()) << "claiming again keeps the claim";
        EXPECT_TRUE(first.IsListening());
    }
    SingleInstance next("TMidi_main");
    EXPECT_TRUE(next.Claim());
    EXPECT_TRUE(SingleInstance::IsRunning("TMidi_main"));
}

// Catches copies started at the same moment all getting past the check (each sees no
// listener yet, and the later one removes the earlier one's socket).
TEST_F(InstanceTest, CopiesClaimingTogetherGetOneOwner)
{
    constexpr int Copies = 6;
    std::atomic<int> ready{0};
    std::atomic<int> done{0};
    std::atomic<int> owners{0};
    std::atomic<int> failures{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < Copies; ++i) {
        threads.emplace_back(QThread::create([&] {
            SingleInstance copy("TMidi_main");
            ++ready;
            while (ready.load() < Copies) {
            }
            try {
                if (copy.Claim())
                    ++owners;
            } catch (const std::exception &) {
                ++failures;
            }
            // Every copy keeps its claim until all have tried.
            ++done;
            while (done.load() < Copies)
                QThread::yieldCurrentThread();
        }));
        threads.back()->start();
    }
    for (const auto &thread : threads)
        thread->wait();
    EXPECT_EQ(owners.load(), 1);
    EXPECT_EQ(failures.load(), 0);
}

// Catches the fallback folder (the usual one taken, no runtime folder) giving each copy a
// socket of its own, so that every copy runs.
TEST_F(InstanceTest, FallbackFolderStillFindsTheRunningCopy)
{
    testing_support::TempFolder base;
    testing_support::TempFolder cache;
    const testing_support::ScopedEnv runtime("XDG_RUNTIME_DIR", "");
    const testing_support::ScopedEnv tmpdir("TMPDIR", base.Path());
    const testing_support::ScopedEnv cacheHome("XDG_CACHE_HOME", cache.Path());
    base.Write("sonolux-" + std::to_string(::getuid()), ""); // taken by something not ours

    SingleInstance first("TMidi_main");
    ASSERT_TRUE(first.Claim());
    EXPECT_TRUE(SingleInstance::IsRunning("TMidi_main"));
    SingleInstance second("TMidi_main");
    EXPECT_FALSE(second.Claim());
    EXPECT_EQ(platform::ListFolder(base.Path()).size(), 1u);
}

// Catches messages to the running copy being lost.
TEST_F(InstanceTest, MessagesReachTheRunningCopy)
{
    SingleInstance running("TMidi_main");
    ASSERT_TRUE(running.Claim());
    QSignalSpy spy(&running, &SingleInstance::messageReceived);
    ASSERT_TRUE(SingleInstance::SendToRunning("TMidi_main", QByteArray("/a.mid\0/b.mid", 13)));
    QElapsedTimer timer;
    timer.start();
    while (spy.isEmpty() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toByteArray(), QByteArray("/a.mid\0/b.mid", 13));
}

// Catches paths being re-encoded, split wrongly or merged on their way to the running copy,
// and a message with no paths being empty (an empty message is never delivered).
TEST(OpenMessage, PathBytesArriveExactlyAndInOrder)
{
    const std::vector<std::string> paths = {"/songs/\x83\x65\x83\x58\x83\x67.mid", // Shift-JIS
                                            "/songs/曲 1.zip", "/a"};
    const QByteArray message = EncodeOpenMessage(paths);
    EXPECT_EQ(DecodeOpenMessage(message), paths);
    EXPECT_EQ(message.count('\0'), 2);

    EXPECT_EQ(EncodeOpenMessage({}), QByteArray(1, '\0'));
    EXPECT_TRUE(DecodeOpenMessage(EncodeOpenMessage({})).empty());
    EXPECT_EQ(DecodeOpenMessage(QByteArray("\0/x.mid\0\0", 9)), std::vector<std::string>{"/x.mid"});
}

// Catches a relative path from a terminal being resolved in the running copy's folder
// instead of the folder it was typed in.
TEST(OpenMessage, RelativePathsAreTakenFromTheCallersFolder)
{
    EXPECT_EQ(AbsolutePath("a.mid", "/home/ann"), "/home/ann/a.mid");
    EXPECT_EQ(AbsolutePath("../b.mid", "/home/ann/"), "/home/ann/../b.mid");
    EXPECT_EQ(AbsolutePath("/abs/c.mid", "/home/ann"), "/abs/c.mid");
}
