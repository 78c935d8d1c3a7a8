// Real playback, end to end: the window plays a song into a PulseAudio null sink that this
// test starts for itself, and what the sink's monitor records is the renderer's samples.
#include "MainWindowFixture.h"
#include "playback/PlayableSong.h"
#include "playback/SongRenderer.h"
#include "support/Process.h"
#include "support/Songs.h"

#include <QMenu>
#include <QStatusBar>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace brivane::test {
namespace {

// A sound server of the test's own, with one mono null sink named "test"; only it is stopped.
class NullSinkServer {
public:
    NullSinkServer()
    {
        ::setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
        const ProcessResult started = RunProgram(
            {"/usr/bin/pulseaudio", "-D", "-n", "--exit-idle-time=-1", "--load=module-native-protocol-unix",
             "--load=module-null-sink sink_name=test format=s16le rate=44100 channels=1"});
        started_ = started.ExitCode == 0;
        ::setenv("PULSE_SERVER", ("unix:" + runtime_ / "pulse/native").c_str(), 1);
        for (int i = 0; i < 100 && !Exists(runtime_ / "pulse/native"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~NullSinkServer()
    {
        if (Exists(runtime_ / "pulse/pid"))
            ::kill(std::atoi(ReadText(runtime_ / "pulse/pid").c_str()), SIGTERM);
    }
    bool Started() const { return started_ && Exists(runtime_ / "pulse/native"); }

private:
    TempDir runtime_;
    bool started_ = false;
};

// A song that never repeats itself: one voice whose pitch jumps every few ticks.
Bytes MakeWanderingSong()
{
    Bytes song = MakeHeldNoteSong(2);
    std::uint32_t state = 5;
    for (int i = 0; i < 120; ++i) {
        state = state * 1664525u + 1013904223u;
        const auto low = static_cast<std::uint8_t>(state >> 24);
        const auto high = static_cast<std::uint8_t>(0x30 | ((state >> 16) & 0x0F));
        song.insert(song.end(), {0xA0, low, 3, 0, 0xB0, high, static_cast<std::uint8_t>(2 + (state & 7)), 0});
    }
    return song;
}

std::vector<std::int16_t> ReadSamples(const std::string& path)
{
    const Bytes raw = ReadBytes(path);
    std::vector<std::int16_t> samples(raw.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    return samples;
}

TEST_F(MainWindowTest, APlayedSongReachesTheSoundServerSampleForSample)
{
    NullSinkServer server;
    ASSERT_TRUE(server.Started()) << "pulseaudio did not start";
    const Bytes song = MakeWanderingSong();
    WriteBytes(app / "SONG.IMF", song);
    const ProgramId recorder = StartProgram({"/bin/sh", "-c",
                                         "exec parec --device=test.monitor --format=s16le --rate=44100 --channels=1 "
                                         "--latency-msec=20 > " + app / "recording.pcm"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    Open();
    ASSERT_TRUE(Find<QAction>("mnuPlayPlaySong")->isEnabled());
    EXPECT_FALSE(Find<QAction>("mnuPlayStop")->isEnabled()) << "nothing plays yet";
    File()->setCurrentRow(0);
    Find<QAction>("mnuPlayPlaySong")->trigger();
    EXPECT_TRUE(Find<QAction>("mnuPlayStop")->isEnabled());
    const std::string status = window->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(status.substr(0, 47), "Playing SONG.IMF at 280 ticks per second, 0:00 ") << status;
    for (int i = 0; i < 300 && window->statusBar()->currentMessage().startsWith("Playing"); ++i)
        QTest::qWait(50);
    EXPECT_FALSE(window->statusBar()->currentMessage().startsWith("Playing")) << "the song ended by itself";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(recorder, SIGTERM);
    WaitProgram(recorder);

    SongRenderer renderer(ParsePlayableSong(song).Writes, 280);
    std::vector<std::int16_t> expected(SongRenderer::SamplesFor(renderer.TotalTicks(), 280, 44100));
    ASSERT_EQ(renderer.Render(expected), expected.size());
    const std::vector<std::int16_t> recorded = ReadSamples(app / "recording.pcm");

    // The stream may lose its first moments: align on the first sound recorded.
    const auto first = std::find_if(recorded.begin(), recorded.end(), [](std::int16_t s) { return s != 0; });
    ASSERT_GT(recorded.end() - first, 256) << "nothing was recorded";
    const std::vector<std::int16_t> probe(first, first + 256);
    const auto at = std::search(expected.begin(), expected.end(), probe.begin(), probe.end());
    ASSERT_NE(at, expected.end()) << "the recording is not the renderer's samples";
    EXPECT_LT(at - expected.begin(), 44100 / 4) << "no more than the stream's start is lost";
    RecordProperty("samples_lost_at_start", static_cast<int>(at - expected.begin()));
    RecordProperty("samples_compared", static_cast<int>(expected.end() - at));
    const auto length = expected.end() - at;
    ASSERT_GE(recorded.end() - first, length) << "the song's end was cut";
    EXPECT_TRUE(std::equal(at, expected.end(), first)) << "every sample after the start arrives unchanged";

    // The bar moves the tempo of what plays, at once; Stop and Convert end the song.
    for (QAction* stop : {Find<QAction>("mnuPlayStop"), static_cast<QAction*>(nullptr)}) {
        Find<QAction>("mnuPlayPlaySong")->trigger();
        Tics()->setValue(560);
        EXPECT_TRUE(window->statusBar()->currentMessage().startsWith("Playing SONG.IMF at 560 ticks per second"));
        if (stop)
            stop->trigger();
        else
            Find<QPushButton>("cmdConvert")->click();
        EXPECT_FALSE(window->statusBar()->currentMessage().startsWith("Playing"));
        EXPECT_FALSE(Find<QAction>("mnuPlayStop")->isEnabled());
        Tics()->setValue(280);
    }
}

TEST_F(MainWindowTest, WithoutAnOutputPlayIsOffAndTheStatusDescribesTheCurrentSong)
{
    WriteBytes(app / "a.imf", MakeHeldNoteSong(560));                             // 2 s at 280
    WriteBytes(app / "b.imf", {8, 0, 0, 0, 0, 0, 0x20, 1, 0xBC, 0x02, 0xEE, 0xEE}); // 1 s at 700
    Open();
    EXPECT_FALSE(Find<QAction>("mnuPlayPlaySong")->isEnabled());
    EXPECT_NE(window->statusBar()->findChild<QLabel*>(), nullptr);
    EXPECT_EQ(window->statusBar()->findChild<QLabel*>()->text(), "No audio output device");

    File()->setCurrentRow(0);
    // The text is cut short with an ellipsis before the notice, never drawn under it; the
    // tooltip holds it whole.
    const QStatusBar* status = window->statusBar();
    EXPECT_LT(status->fontMetrics().horizontalAdvance(status->currentMessage()), status->findChild<QLabel*>()->x());
    EXPECT_EQ(status->toolTip(), "a.imf: headerless, 0:02 at 280 ticks per second");
    for (QAction* game : Find<QMenu>("mnuOptionsGame")->actions())
        if (Plain(game) == "Cosmo's Cosmic Adventure (560)")
            game->trigger();
    EXPECT_EQ(Tics()->value(), 560);
    EXPECT_NE(SettingsText().find("OriginalTics=560"), std::string::npos);
    EXPECT_EQ(status->toolTip(), "a.imf: headerless, 0:01 at 560 ticks per second");
    File()->setCurrentRow(1);
    EXPECT_EQ(status->toolTip(), "b.imf: Wolfenstein 3-D, 0:01 at 700 ticks per second");
}

} // namespace
} // namespace brivane::test
