#include "opl/TimedSong.h"

namespace brivane {

const char* LeftOutPart(const TimedSong& song)
{
    return song.Hardware == "OPL3" ? "the OPL3's high bank" : "a second chip";
}

const char* PlayedPart(const TimedSong& song)
{
    return song.Hardware == "OPL3" ? "the OPL3's low bank" : "the first chip";
}

std::string RemarksOn(const TimedSong& song)
{
    std::string text;
    if (const std::uint64_t left = song.SecondChipWrites; left > 0)
        text = std::to_string(left) + (left == 1 ? " write to " : " writes to ") + LeftOutPart(song) +
               (left == 1 ? " was" : " were") + " left out: IMF plays one OPL2";
    for (const std::string& remark : song.Remarks)
        text += (text.empty() ? "" : "; ") + remark;
    return text;
}

} // namespace brivane
