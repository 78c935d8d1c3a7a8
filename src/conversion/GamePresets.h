#pragma once

#include <array>
#include <string_view>

namespace brivane {

// The rates, in ticks per second, at which the games played their music; each from the game's
// own source or its faithful reconstruction.
struct GamePreset {
    std::string_view Key;   // as --game takes it
    std::string_view Title; // as the Game menu shows it
    int OriginalTics;
};

inline constexpr std::array<GamePreset, 6> kGamePresets{{
    {"duke2", "Duke Nukem II (280)", 280},                      // its engine reimplementation's music rate
    {"cosmo", "Cosmo's Cosmic Adventure (560)", 560},           // one music tick per 560 Hz interrupt
    {"keen", "Commander Keen 4\u20136 (560)", 560},             // TickBase × 8
    {"biomenace", "Bio Menace (560)", 560},                     // TickBase × 8
    {"wolf3d", "Wolfenstein 3-D and Spear of Destiny (700)", 700}, // TickBase × 10
    {"blakestone", "Blake Stone (700)", 700},                   // TickBase × 10
}};

inline const GamePreset* FindGamePreset(std::string_view key)
{
    for (const GamePreset& preset : kGamePresets)
        if (preset.Key == key)
            return &preset;
    return nullptr;
}

} // namespace brivane
