#pragma once

#include "conversion/Conversion.h"
#include "conversion/GamePresets.h"

#include <string>

namespace brivane {

// The window's choices for a Convert command, kept apart from any toolkit: the rate on the
// scroll bar, the game the songs come from (Options > Game) and the target (Options >
// Convert To). A game whose songs have a length word makes those songs count at its rate
// for as long as the bar shows that rate.
class ConversionChoice {
public:
    int Tics() const { return tics_; }
    // The bar moved: a chosen game whose rate it no longer shows stops being the source.
    // Returns true when that ended a game.
    bool SetTics(int tics);
    void ChooseGame(const GamePreset& game);
    void ChooseTarget(const GamePreset& target) { target_ = &target; }
    bool ExactTiming() const { return exact_; }
    void SetExactTiming(bool exact) { exact_ = exact; }

    const GamePreset& Target() const { return *target_; }
    // The game the Game menu marks: the chosen one, or else the first whose rate the bar
    // shows; none when no game plays at that rate.
    const GamePreset* MarkedGame() const;
    Conversion Rates() const;

    // "Convert to Wolfenstein IMF", or "Convert to " + the target's name + " IMF".
    std::string ConvertCaption() const;
    // "Songs with a length word are taken at 560 ticks per second", or nothing at 700.
    std::string LengthWordNote() const;

private:
    int tics_ = kDefaultOriginalTics;
    const GamePreset* game_ = nullptr;
    const GamePreset* target_ = FindGamePreset("wolf3d");
    bool exact_ = false;
};

} // namespace brivane
