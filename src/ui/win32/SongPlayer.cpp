#include "ui/win32/SongPlayer.h"

#include <array>
#include <vector>

namespace brivane::win32 {
namespace {

constexpr std::size_t kBufferSamples = kDefaultSampleRate / 20; // 50 ms: the tempo follows the bar closely
constexpr std::size_t kBuffers = 4;

} // namespace

bool SongPlayer::HasOutputDevice()
{
    return ::waveOutGetNumDevs() > 0;
}

bool SongPlayer::StartOutput()
{
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kSampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kSampleRate * 2;
    bufferDone_ = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (::waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(bufferDone_), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        ::CloseHandle(bufferDone_);
        bufferDone_ = nullptr;
        device_ = nullptr;
        return false;
    }
    stop_ = false;
    feeder_ = std::thread([this] { Feed(); });
    return true;
}

void SongPlayer::Feed()
{
    std::array<std::vector<std::int16_t>, kBuffers> samples;
    std::array<WAVEHDR, kBuffers> headers{};
    std::size_t queued = 0;
    bool ended = false;
    auto fill = [&](std::size_t i) {
        samples[i].resize(kBufferSamples);
        const std::size_t rendered = Render(samples[i]);
        if (rendered == 0) {
            ended = true;
            return;
        }
        headers[i] = {};
        headers[i].lpData = reinterpret_cast<LPSTR>(samples[i].data());
        headers[i].dwBufferLength = static_cast<DWORD>(rendered * 2);
        ::waveOutPrepareHeader(device_, &headers[i], sizeof headers[i]);
        ::waveOutWrite(device_, &headers[i], sizeof headers[i]);
        ++queued;
    };
    for (std::size_t i = 0; i < kBuffers && !ended; ++i)
        fill(i);
    while (queued > 0 && !stop_) {
        ::WaitForSingleObject(bufferDone_, 100);
        for (std::size_t i = 0; i < kBuffers; ++i) {
            if (!(headers[i].dwFlags & WHDR_DONE) || !headers[i].lpData)
                continue;
            ::waveOutUnprepareHeader(device_, &headers[i], sizeof headers[i]);
            headers[i].lpData = nullptr;
            --queued;
            if (!ended && !stop_)
                fill(i);
        }
    }
    ::waveOutReset(device_); // hands back whatever is still queued
    for (WAVEHDR& header : headers)
        if (header.lpData)
            ::waveOutUnprepareHeader(device_, &header, sizeof header);
    if (!stop_)
        ::PostMessageW(window_, stoppedMessage_, 0, 0);
}

void SongPlayer::StopOutput()
{
    stop_ = true;
    ::SetEvent(bufferDone_);
    feeder_.join();
    ::waveOutClose(device_);
    ::CloseHandle(bufferDone_);
    device_ = nullptr;
    bufferDone_ = nullptr;
}

} // namespace brivane::win32
