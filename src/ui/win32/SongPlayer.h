#pragma once

#include "ui/shared/SongOutput.h"

#include <atomic>
#include <thread>
#include <windows.h>
#include <mmsystem.h>

namespace brivane::win32 {

// Plays through waveOut: a thread of its own keeps a few buffers queued from the renderer,
// refilling each as the device hands it back. The song stops at its end once the device has
// played everything, or when told to; at its end the window is sent `stoppedMessage`.
class SongPlayer : public SongOutput {
public:
    SongPlayer(HWND window, UINT stoppedMessage) : window_(window), stoppedMessage_(stoppedMessage) {}
    ~SongPlayer() override { Stop(); }

    static bool HasOutputDevice();

private:
    bool StartOutput() override;
    void StopOutput() override;
    void Feed();

    HWND window_;
    UINT stoppedMessage_;
    HWAVEOUT device_ = nullptr;
    HANDLE bufferDone_ = nullptr;
    std::atomic<bool> stop_{false};
    std::thread feeder_;
};

} // namespace brivane::win32
