#pragma once

#include "ui/shared/SongOutput.h"

#include <QObject>

#include <memory>

class QAudioSink;

namespace brivane {

// Plays through the default audio output: a sink pulls the samples from the renderer. The
// song stops at its end once the output has played everything, or when told to.
class SongPlayer : public QObject, public SongOutput {
    Q_OBJECT

public:
    explicit SongPlayer(QObject* parent = nullptr);
    ~SongPlayer() override;

    static bool HasOutputDevice();

signals:
    void Stopped();

private:
    class RendererDevice;

    bool StartOutput() override;
    void StopOutput() override;
    void AfterStop() override { emit Stopped(); }

    std::unique_ptr<RendererDevice> device_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace brivane
