#pragma once

#include "playback/SongRenderer.h"
#include "ui/shared/SongOutput.h"

#include <QObject>

#include <memory>

class QAudioSink;

namespace brivane {

// Plays one song at a time through the default audio output: a sink pulls 16-bit mono samples
// at 44,100 Hz from the renderer. The song stops at its end once the output has played
// everything, or when told to.
class SongPlayer : public QObject, public SongOutput {
    Q_OBJECT

public:
    explicit SongPlayer(QObject* parent = nullptr);
    ~SongPlayer() override;

    static bool HasOutputDevice();

    bool Play(PlayableSong song, int tickRate) override;
    void Stop() override;
    bool IsPlaying() const override { return renderer_ != nullptr; }
    void SetTickRate(int tickRate) override;
    int TickRate() const override;
    double PositionSeconds() const override;
    double LengthSeconds() const override;

signals:
    void Stopped();

private:
    class RendererDevice;

    std::unique_ptr<SongRenderer> renderer_;
    std::unique_ptr<RendererDevice> device_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace brivane
