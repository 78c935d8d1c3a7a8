#pragma once

#include "playback/SongRenderer.h"
#include "ui/shared/SongOutput.h"

#include <atomic>
#include <memory>
#include <thread>
#include <windows.h>
#include <mmsystem.h>

namespace brivane::win32 {

// Plays one song at a time through waveOut at 44,100 Hz, mono, 16-bit: a thread of its own
// keeps a few buffers queued from the renderer, refilling each as the device hands it back.
// The song stops at its end once the device has played everything, or when told to; the
// window is then sent `stoppedMessage`.
class WaveOutPlayer : public SongOutput {
public:
    WaveOutPlayer(HWND window, UINT stoppedMessage) : window_(window), stoppedMessage_(stoppedMessage) {}
    WaveOutPlayer(const WaveOutPlayer&) = delete;
    WaveOutPlayer& operator=(const WaveOutPlayer&) = delete;
    ~WaveOutPlayer() override { Stop(); }

    static bool HasOutputDevice();
    bool Play(PlayableSong song, int tickRate) override;
    void Stop() override;
    bool IsPlaying() const override { return renderer_ != nullptr; }
    void SetTickRate(int tickRate) override { renderer_->SetTickRate(tickRate); }
    int TickRate() const override { return renderer_ ? renderer_->TickRate() : 0; }
    double PositionSeconds() const override;
    double LengthSeconds() const override;

private:
    void Feed();

    HWND window_;
    UINT stoppedMessage_;
    std::unique_ptr<SongRenderer> renderer_;
    HWAVEOUT device_ = nullptr;
    HANDLE bufferDone_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<double> ticksPlayed_{0}; // written by the feeder, read by the window
    std::thread feeder_;
};

} // namespace brivane::win32
