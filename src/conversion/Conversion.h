#pragma once

#include "opl/ImfType.h"
#include "conversion/TicScale.h"
#include "midi/MidiOnOpl2.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brivane {

// Where a Convert command takes songs: a layout and the rate its player runs at.
struct ConversionTarget {
    ImfType Layout = ImfLengthWord; // ImfHeaderless, or ImfLengthWord for a length word
    int Tics = kWolfensteinTics;
    std::string Name = "Wolfenstein 3-D";
};

// A game's key ("duke2") or "headerless:RATE" / "length:RATE" with RATE from 100 to 700;
// nothing for any other text.
std::optional<ConversionTarget> TargetNamed(std::string_view text);

// Everything a Convert command decides for all its songs: the target, and the rates the
// songs it finds are taken at, by their layout.
struct Conversion {
    ConversionTarget Target;
    int HeaderlessTics = kDefaultOriginalTics;
    int LengthWordTics = kWolfensteinTics;
    // The layout every song is taken to have, when the user says so (--from): a song's first
    // word can mislead.
    std::optional<ImfType> From;
    // The classic conversion rounds each delay on its own, as stored songs and other tools
    // have it; this gives it the cumulative rounding of every other conversion instead.
    bool ExactTiming = false;
    // Where the song of a capture goes, when one capture is converted; beside it otherwise.
    std::string CaptureOutput;
    // Whether a capture's song replaces a file already at its name: nothing asks the user.
    std::optional<bool> ReplaceSongs;
    // A VGM's looping part only, so that a game repeating the whole song repeats what the VGM does.
    bool LoopOnly = false;
    // The bank and the voices a MIDI file's notes are played with.
    MidiPlaying Midi;

    int SourceTics(ImfType layout) const { return layout == ImfHeaderless ? HeaderlessTics : LengthWordTics; }
    // A song in the target's layout at the target's rate needs nothing done.
    bool AlreadyThere(ImfType layout) const
    {
        return layout == Target.Layout && SourceTics(layout) == Target.Tics;
    }
    // Headerless into the Wolfenstein 3-D rate, one delay at a time, as the window's Convert
    // button has always done it.
    bool IsClassic(ImfType layout) const
    {
        return layout == ImfHeaderless && Target.Layout == ImfLengthWord && Target.Tics == kWolfensteinTics &&
               !ExactTiming;
    }
};

// Headerless songs written at `originalTics` into the Wolfenstein 3-D layout, as the window's
// Convert button has always done.
inline Conversion ToWolfenstein(int originalTics)
{
    Conversion conversion;
    conversion.HeaderlessTics = originalTics;
    return conversion;
}

// A song's bytes in the target's layout and rate, or nothing when its records do not fit a
// length word. `layout` is the song's own, as GetImfType decides it.
std::optional<std::vector<std::uint8_t>> ConvertSongBytes(std::span<const std::uint8_t> song, ImfType layout,
                                                          const Conversion& conversion);

} // namespace brivane
