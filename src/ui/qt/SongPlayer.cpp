#include "ui/qt/SongPlayer.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace brivane {
namespace {

// Silence after the song, so that however the output stops once it runs dry, nothing of the
// song's last moments is cut.
constexpr qint64 kTailSamples = kDefaultSampleRate / 4;

} // namespace

// The sink's source: the renderer's samples, then the silent tail, then the end.
class SongPlayer::RendererDevice : public QIODevice {
public:
    explicit RendererDevice(SongRenderer& renderer) : renderer_(renderer) { open(QIODevice::ReadOnly); }

    bool isSequential() const override { return true; }
    bool atEnd() const override { return tail_ == 0; }
    qint64 bytesAvailable() const override { return atEnd() ? 0 : 4096 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const auto wanted = static_cast<std::size_t>(maxSize / 2);
        std::span<std::int16_t> out(reinterpret_cast<std::int16_t*>(data), wanted);
        std::size_t filled = renderer_.Render(out);
        const auto silence = static_cast<std::size_t>(std::min<qint64>(tail_, static_cast<qint64>(wanted - filled)));
        if (filled < wanted) {
            std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(filled), silence, std::int16_t{0});
            tail_ -= static_cast<qint64>(silence);
            filled += silence;
        }
        return static_cast<qint64>(filled * 2);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    SongRenderer& renderer_;
    qint64 tail_ = kTailSamples;
};

SongPlayer::SongPlayer(QObject* parent) : QObject(parent) {}

SongPlayer::~SongPlayer()
{
    Stop();
}

bool SongPlayer::HasOutputDevice()
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

bool SongPlayer::Play(PlayableSong song, int tickRate)
{
    Stop();
    renderer_ = std::make_unique<SongRenderer>(std::move(song.Writes), tickRate);
    device_ = std::make_unique<RendererDevice>(*renderer_);
    QAudioFormat format;
    format.setSampleRate(kDefaultSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
    connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // Idle with the source at its end: everything has gone to the output. Its own buffer
        // still plays for a moment; stop once that has had time to drain.
        if (state == QAudio::IdleState && device_ && device_->atEnd()) {
            const int drainMs = static_cast<int>(sink_->bufferSize() * 1000 / (2 * kDefaultSampleRate)) + 100;
            QTimer::singleShot(drainMs, this, [this, sink = sink_.get()] {
                if (sink_.get() == sink)
                    Stop();
            });
        }
    });
    sink_->start(device_.get());
    if (sink_->error() == QAudio::OpenError) {
        Stop();
        return false;
    }
    return true;
}

void SongPlayer::Stop()
{
    if (!renderer_)
        return;
    sink_->stop();
    sink_.reset();
    device_.reset();
    renderer_.reset();
    emit Stopped();
}

void SongPlayer::SetTickRate(int tickRate)
{
    if (renderer_)
        renderer_->SetTickRate(tickRate);
}

int SongPlayer::TickRate() const
{
    return renderer_ ? renderer_->TickRate() : 0;
}

double SongPlayer::PositionSeconds() const
{
    return renderer_ ? renderer_->TicksPlayed() / renderer_->TickRate() : 0;
}

double SongPlayer::LengthSeconds() const
{
    return renderer_ ? static_cast<double>(renderer_->TotalTicks()) / renderer_->TickRate() : 0;
}

} // namespace brivane
