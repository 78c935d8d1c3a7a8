#pragma once

#include "playback/PlayableSong.h"

namespace brivane {

// Where the window's songs play: each toolkit's audio output, fed by the same renderer.
// Plays one song at a time; a song that reaches its end stops by itself, and the front end
// then tells its controller (MainWindowController::PlaybackEnded).
class SongOutput {
public:
    virtual ~SongOutput() = default;

    // Returns false when the output device cannot be opened.
    virtual bool Play(PlayableSong song, int tickRate) = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
    // A new rate holds from the current position on: the tempo changes at once.
    virtual void SetTickRate(int tickRate) = 0;
    virtual int TickRate() const = 0;
    virtual double PositionSeconds() const = 0;
    virtual double LengthSeconds() const = 0;
};

} // namespace brivane
