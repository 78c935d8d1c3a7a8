#pragma once

#include "playback/PlayableSong.h"
#include "playback/SongRenderer.h"

#include <QObject>

#include <memory>

class QAudioSink;

namespace brivane {

// Plays one song at a time through the default audio output: a sink pulls 16-bit mono samples
// at 44,100 Hz from the renderer. The song stops at its end once the output has played
// everything, or when told to.
class SongPlayer : public QObject {
    Q_OBJECT

public:
    explicit SongPlayer(QObject* parent = nullptr);
    ~SongPlayer() override;

    static bool HasOutputDevice();

    void Play(PlayableSong song, int tickRate);
    void Stop();
    bool IsPlaying() const { return renderer_ != nullptr; }

    // A new rate holds from the current position on: the tempo changes at once.
    void SetTickRate(int tickRate);
    int TickRate() const;
    double PositionSeconds() const;
    double LengthSeconds() const;

signals:
    void Stopped();

private:
    class RendererDevice;

    std::unique_ptr<SongRenderer> renderer_;
    std::unique_ptr<RendererDevice> device_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace brivane
