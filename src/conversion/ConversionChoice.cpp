#include "conversion/ConversionChoice.h"

namespace brivane {

bool ConversionChoice::SetTics(int tics)
{
    tics_ = tics;
    if (!game_ || game_->OriginalTics == tics)
        return false;
    game_ = nullptr;
    return true;
}

void ConversionChoice::ChooseGame(const GamePreset& game)
{
    game_ = &game;
    tics_ = game.OriginalTics;
}

const GamePreset* ConversionChoice::MarkedGame() const
{
    if (game_)
        return game_;
    for (const GamePreset& game : kGamePresets)
        if (game.OriginalTics == tics_)
            return &game;
    return nullptr;
}

Conversion ConversionChoice::Rates() const
{
    Conversion rates = ToWolfenstein(tics_);
    rates.Target = *TargetNamed(target_->Key);
    rates.ExactTiming = exact_;
    if (game_ && game_->Layout == ImfLengthWord)
        rates.LengthWordTics = game_->OriginalTics;
    return rates;
}

std::string ConversionChoice::ConvertCaption() const
{
    if (target_->Key == "wolf3d")
        return "Convert to Wolfenstein IMF";
    return "Convert to " + std::string(target_->Name) + " IMF";
}

std::string ConversionChoice::LengthWordNote() const
{
    const int tics = Rates().LengthWordTics;
    if (tics == kWolfensteinTics)
        return {};
    return "Songs with a length word are taken at " + std::to_string(tics) + " ticks per second";
}

} // namespace brivane
