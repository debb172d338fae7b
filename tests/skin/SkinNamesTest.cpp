// Skin and picture names as Windows settings hold them find their files
// whatever case the files have, Czech letters included.
#include "SkinFixture.h"

#include "Timer.h"

#include <QFile>
#include <QTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST_F(SkinTest, SkinsAndTheirPicturesAreFoundWithoutRegardToCase)
{
    WriteSprite("SPRITE.PNG");
    WriteBackground("Zádní.png", 120, 90, qRgb(255, 0, 255));
    std::string text = kPhoneSkin;
    text.replace(text.find("back.png"), 8, "Z\xC1" "DN\xCD.PNG");
    // The user's own copy, and one shipped only.
    MakeDir("data/Skins");
    WriteBytes(dir.File("data/Skins/MODRA.SKN"), text);
    WriteBytes(dir.File("prog/Skins/MODRÁ.SKN"), text);
    for (const char *name : {"Modra.skn", "Modr\xE1.skn"}) {
        TSkin &s = Start(name);
        EXPECT_EQ(s.LoadError, "") << name;
        EXPECT_EQ(s.SkinName, name);
        EXPECT_EQ(panel->size(), QSize(120, 90)) << name;
        EXPECT_FALSE(panel->Image0->pixmap().isNull()) << name;
        EXPECT_NE(panel->findChild<TImage *>("ImageD1"), nullptr) << name;
    }
}

// A skin is a file of the skin folders: a name that reaches out of them, from
// a desktop, the settings file or a switch, is refused as a missing one.
TEST_F(SkinTest, NamesWithAFolderPartAreRefusedAndNothingOutsideIsReadOrWritten)
{
    const std::string victim = "[Set]\r\nBackground=back.png\r\nType=1\r\nAlpha=300\r\n";
    MakeDir("other");
    WriteBytes(dir.File("other/victim.skn"), victim);
    TSkin &s = StartPhone();
    MakeDir("data/Skins/sub");
    WriteBytes(dir.File("data/Skins/sub/Phone.skn"), victim);
    for (const std::string &name : {std::string("../../other/victim.skn"), dir.File("other/victim.skn"),
                                    std::string("..\\..\\other\\victim.skn"), std::string("sub/Phone.skn"),
                                    std::string("..")}) {
        s.SelectSkin(name);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !s.Timer->Enabled(); }));
        EXPECT_NE(s.LoadError.find(name), std::string::npos) << name << ": " << s.LoadError;
        EXPECT_EQ(std::make_pair(s.SkinName, s.Alpha), std::make_pair(std::string("Phone.skn"), 200)) << name;
    }
    // At start, and with the skin folder of the settings file pointing outside.
    WriteBytes(dir.File("data/Talvodem.ini"), "[Skin]\r\nHome=../other\r\n");
    for (const char *name : {"../../other/victim.skn", "victim.skn"}) {
        TSkin &first = Start(name);
        EXPECT_NE(first.LoadError.find(name), std::string::npos) << name << ": " << first.LoadError;
        first.SaveSkin(true);
    }
    EXPECT_EQ(ReadBytes(dir.File("other/victim.skn")), victim);
}

// Lets go of a reader stuck on a named pipe once the time is up, so that a
// test of a reader that must never wait ends either way, and tells whether
// it had to.
class PipeRelease {
public:
    explicit PipeRelease(std::vector<std::string> pipes) : pipes_(std::move(pipes)), thread_([this] { Run(); }) {}
    ~PipeRelease()
    {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    std::atomic<bool> Released{false};

private:
    void Run()
    {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::seconds(10), [this] { return done_; }))
            return;
        while (!wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return done_; }))
            for (const std::string &pipe : pipes_)
                if (int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                    Released = true;
                    ::close(fd);
                }
    }
    std::vector<std::string> pipes_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

// A skin's picture is a file of the skin folder: a pipe, a folder, or a name
// that climbs out or is absolute is refused at once, as a missing picture is;
// a skin file that is a pipe is no skin.
TEST_F(SkinTest, PicturesThatAreNoFilesOrLieOutsideAreRefusedAtOnceAsMissing)
{
    TSkin &s = StartPhone();
    MakeDir("prog/outside");
    MakeDir("prog/Skins/folder.png");
    MakeDir("data/Skins");
    QFile::copy(QString::fromStdString(dir.File("prog/Skins/back.png")),
                QString::fromStdString(dir.File("prog/outside/back.png")));
    const std::string pipe = dir.File("prog/Skins/pipe.png"), pipeSkin = dir.File("data/Skins/Pipe.skn");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(pipeSkin.c_str(), 0600), 0);
    PipeRelease release({pipe, pipeSkin});

    const auto refusal = [&](const std::string &picture, bool prefetched) {
        const std::string name = "Test.skn";
        WriteBytes(dir.File("prog/Skins/" + name), "[Set]\r\nBackground=" + picture + "\r\n");
        if (prefetched)
            s.Prefetch(name);
        s.SelectSkin(name);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !s.Timer->Enabled(); }));
        EXPECT_EQ(s.SkinName, "Phone.skn") << picture;
        EXPECT_FALSE(panel->Image0->pixmap().isNull()) << picture;
        const size_t at = s.LoadError.find(picture);
        return at == std::string::npos ? "not named: " + s.LoadError : s.LoadError.substr(at + picture.size());
    };
    for (bool prefetched : {false, true}) {
        const std::string missing = refusal("missing.png", prefetched);
        for (const std::string &picture : {std::string("pipe.png"), std::string("folder.png"),
                                           std::string("../outside/back.png"), std::string("..\\outside\\back.png"),
                                           dir.File("prog/outside/back.png")})
            EXPECT_EQ(refusal(picture, prefetched), missing) << picture << " prefetched " << prefetched;
    }
    s.SelectSkin("Pipe.skn");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !s.Timer->Enabled(); }));
    EXPECT_NE(s.LoadError.find("Pipe.skn"), std::string::npos);
    EXPECT_EQ(s.SkinName, "Phone.skn");
    EXPECT_FALSE(release.Released) << "a read waited for a pipe";
}

} // namespace
