// Test driver: what the window does while the tick-rate thumb is dragged, without end.
// Usage: settings_save_loop FILE
#include "settings/clsINI.h"

#include <iostream>

namespace {

class Stderr : public brivane::UserInteraction {
public:
    brivane::UserReply Show(const brivane::UserMessage& message) override
    {
        std::cerr << message.Title << ": " << message.Text << "\n";
        return {};
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    Stderr ui;
    brivane::clsINI ini(ui);
    ini.LoadINI(argv[1]);
    ini.WriteValue("General", "Folder", "/home/modder/music");
    ini.WriteValue("General", "MakeBackups", "1");
    for (int tics = 100;; tics = tics == 700 ? 100 : tics + 1)
        ini.WriteValue("General", "OriginalTics", std::to_string(tics));
}
