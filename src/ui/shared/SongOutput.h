#pragma once

#include "playback/PlayableSong.h"
#include "playback/SongRenderer.h"

#include <atomic>
#include <memory>
#include <span>

namespace brivane {

// Where the window's songs play: each toolkit's audio device, pulling 16-bit mono samples at
// kSampleRate from the one renderer kept here. Plays one song at a time; a song that reaches
// its end stops by itself, and the front end then tells its controller
// (MainWindowController::PlaybackEnded).
class SongOutput {
public:
    SongOutput() = default;
    SongOutput(const SongOutput&) = delete;
    SongOutput& operator=(const SongOutput&) = delete;
    virtual ~SongOutput() = default; // each device stops in its own destructor: Stop() calls it back

    // Returns false when the output device cannot be opened.
    bool Play(PlayableSong song, int tickRate);
    void Stop();
    bool IsPlaying() const { return renderer_ != nullptr; }
    // A new rate holds from the current position on: the tempo changes at once.
    void SetTickRate(int tickRate);
    int TickRate() const;
    double PositionSeconds() const;
    double LengthSeconds() const;

protected:
    static constexpr int kSampleRate = kDefaultSampleRate;

    // Opens the device and starts it pulling through Render; false when it cannot be opened.
    virtual bool StartOutput() = 0;
    // Stops the device: once this returns, Render is no longer called.
    virtual void StopOutput() = 0;
    // After every stop, asked for or at the song's end.
    virtual void AfterStop() {}

    // The song's next samples, from the device's thread; fewer than asked at the song's end.
    std::size_t Render(std::span<std::int16_t> out);

private:
    std::unique_ptr<SongRenderer> renderer_;
    std::atomic<double> ticksPlayed_{0}; // written by the device's thread, read by the window's
};

} // namespace brivane
