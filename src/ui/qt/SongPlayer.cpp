#include "ui/qt/SongPlayer.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>

namespace brivane {

// The sink's source: the song's samples, then a quarter second of silence, so that however
// the output stops once it runs dry, nothing of the song's last moments is cut; then the end.
class SongPlayer::RendererDevice : public QIODevice {
public:
    explicit RendererDevice(std::function<std::size_t(std::span<std::int16_t>)> render) : render_(std::move(render))
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return true; }
    bool atEnd() const override { return tail_ == 0; }
    qint64 bytesAvailable() const override { return atEnd() ? 0 : 4096 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const auto wanted = static_cast<std::size_t>(maxSize / 2);
        std::span<std::int16_t> out(reinterpret_cast<std::int16_t*>(data), wanted);
        std::size_t filled = render_(out);
        const auto silence = std::min(tail_, wanted - filled);
        std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(filled), silence, std::int16_t{0});
        tail_ -= silence;
        return static_cast<qint64>((filled + silence) * 2);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::function<std::size_t(std::span<std::int16_t>)> render_;
    std::size_t tail_ = kDefaultSampleRate / 4;
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

bool SongPlayer::StartOutput()
{
    device_ = std::make_unique<RendererDevice>([this](std::span<std::int16_t> out) { return Render(out); });
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
    connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // Idle with the source at its end: everything has gone to the output. Its own buffer
        // still plays for a moment; stop once that has had time to drain.
        if (state == QAudio::IdleState && device_ && device_->atEnd()) {
            const int drainMs = static_cast<int>(sink_->bufferSize() * 1000 / (2 * kSampleRate)) + 100;
            QTimer::singleShot(drainMs, this, [this, sink = sink_.get()] {
                if (sink_.get() == sink)
                    Stop();
            });
        }
    });
    sink_->start(device_.get());
    if (sink_->error() != QAudio::OpenError)
        return true;
    StopOutput();
    return false;
}

void SongPlayer::StopOutput()
{
    sink_->stop();
    sink_.reset();
    device_.reset();
}

} // namespace brivane
