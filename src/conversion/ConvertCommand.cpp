#include "conversion/ConvertCommand.h"

#include "conversion/ConvertCapture.h"
#include "platform/FileError.h"
#include "songfile/ImfPaths.h"
#include "songfile/OutputGate.h"
#include "songfile/SongFile.h"
#include "conversion/OrderedChannels.h"
#include "conversion/PrintableText.h"
#include "conversion/RememberedAnswers.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryFile.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#include <thread>

namespace brivane {
namespace {

// Passes a song's message on to the user, through the remembered answers of the batch.
using Deliver = std::function<UserReply(const UserMessage&)>;

class Direct : public UserInteraction {
public:
    explicit Direct(const Deliver& deliver) : deliver_(deliver) {}
    UserReply Show(const UserMessage& message) override { return deliver_(message); }

private:
    const Deliver& deliver_;
};

bool Cancelled(const BatchOptions& options)
{
    return options.Cancel && options.Cancel->load();
}

// A row that names the same file as an earlier row waits for that row to finish, so that it
// finds the song converted, as it would one after the other.
std::vector<std::size_t> EarlierSameFile(const std::vector<std::string>& paths)
{
    std::vector<std::size_t> earlier(paths.size(), paths.size());
    std::map<FileIdentity, std::size_t> seen;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::optional<FileIdentity> identity = IdentityOf(paths[i]);
        if (!identity)
            continue;
        const auto [at, inserted] = seen.try_emplace(*identity, i);
        if (!inserted) {
            earlier[i] = at->second;
            at->second = i;
        }
    }
    return earlier;
}

// For each row, the row whose backup it is (count when none): converting that row writes
// this file, so converting this one too would make a backup of a backup and the outcome
// would hang on which ran first.
std::vector<std::size_t> BackupsOfOtherRows(const std::vector<std::string>& paths)
{
    std::map<std::string, std::size_t> byBackupName;
    std::map<FileIdentity, std::size_t> byBackupIdentity;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string backup = BackupPathFor(paths[i]);
        byBackupName.try_emplace(backup, i);
        if (const std::optional<FileIdentity> identity = IdentityOf(backup))
            byBackupIdentity.try_emplace(*identity, i);
    }
    std::vector<std::size_t> songOf(paths.size(), paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (const auto named = byBackupName.find(paths[i]); named != byBackupName.end())
            songOf[i] = named->second;
        else if (const std::optional<FileIdentity> identity = IdentityOf(paths[i]))
            if (const auto same = byBackupIdentity.find(*identity); same != byBackupIdentity.end())
                songOf[i] = same->second;
    }
    return songOf;
}

// Where a row's song goes: a capture's or MIDI file's to a file of its own, any other in place.
// Only the signature is read, and only of a regular file: opening a FIFO would wait for a writer.
std::string OutputOf(const std::string& path, const Conversion& conversion)
{
    if (LookUpPath(path).Kind != PathKind::Regular)
        return path;
    try {
        if (!IsTimedSongSignature(ReadFileStart(path, kSignatureBytes)))
            return path;
    } catch (const FileError&) {
        return path; // its conversion reports why it cannot be read
    }
    return conversion.CaptureOutput.empty() ? SongPathForCapture(path) : conversion.CaptureOutput;
}

// What the batch knows of its rows before it converts any: whose backup each is, and why its
// output is another row's, claimed in list order so that the outcome is the same at any --jobs.
struct BatchPlan {
    std::vector<std::size_t> SongOf;
    std::vector<std::string> Refusals;
};

BatchPlan PlanBatch(const std::vector<std::string>& paths, const Conversion& conversion)
{
    BatchPlan plan{BackupsOfOtherRows(paths), std::vector<std::string>(paths.size())};
    OutputClaims claims(paths);
    for (std::size_t row = 0; row < paths.size(); ++row)
        plan.Refusals[row] = claims.Claim(row, OutputOf(paths[row], conversion));
    return plan;
}

// One row of the batch: its song converted, a backup of another row left alone, or a song
// refused for an output another row has.
ConversionOutcome ConvertRow(const std::vector<std::string>& paths, std::size_t row, const BatchPlan& plan,
                             const Conversion& conversion, bool makeBackups, UserInteraction& ui)
{
    if (!plan.Refusals[row].empty()) {
        ui.Show({Printable(plan.Refusals[row]), "Output taken", MessageStyle::Error, paths[row]});
        return ConversionOutcome::OutputTaken;
    }
    const std::size_t songOf = plan.SongOf[row];
    if (songOf == paths.size() || songOf == row)
        return ConvertImf(paths[row], conversion, makeBackups, ui);
    ui.Show({Printable(DisplayName(paths[row])) + " is the backup of " + Printable(DisplayName(paths[songOf])) +
                 "; left alone.",
             "Backup left alone", MessageStyle::Information, paths[row]});
    return ConversionOutcome::BackupOfAnother;
}

std::vector<ConversionOutcome> ConvertOneAfterAnother(const std::vector<std::string>& paths, const Conversion& conversion,
                                                      const std::function<bool()>& makeBackups, UserInteraction& ui,
                                                      const BatchOptions& options, const Deliver& deliver)
{
    std::vector<ConversionOutcome> outcomes;
    Direct direct(deliver);
    const BatchPlan plan = PlanBatch(paths, conversion);
    for (std::size_t i = 0; i < paths.size() && !Cancelled(options); ++i) {
        ui.Progress(i, paths.size(), paths[i]);
        outcomes.push_back(ConvertRow(paths, i, plan, conversion, makeBackups(), direct));
    }
    return outcomes;
}

// A song's time goes as much to waiting for the disk as to converting, so twice the cores keep
// them busy; more only take turns on them (64 workers on 2 cores took twice as long as 4).
std::size_t WorkersFor(unsigned jobs, std::size_t songs)
{
    const std::size_t usable = 2 * std::max(std::thread::hardware_concurrency(), 1u);
    return std::min({static_cast<std::size_t>(jobs), songs, usable});
}

std::vector<ConversionOutcome> ConvertSeveralAtOnce(const std::vector<std::string>& paths, const Conversion& conversion,
                                                    const std::function<bool()>& makeBackups, UserInteraction& ui,
                                                    const BatchOptions& options, const Deliver& deliver)
{
    const std::size_t count = paths.size();
    const std::size_t workers = WorkersFor(options.Jobs, count);
    // Converting runs at most this far ahead of what the user has been told, so the progress
    // shown and a Cancel stay close to the truth.
    const std::size_t lookahead = 4 * workers;
    const std::vector<std::size_t> earlier = EarlierSameFile(paths);
    const BatchPlan plan = PlanBatch(paths, conversion);
    OrderedChannels channels(count);

    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;      // the next song a converter may take
    std::size_t told = 0;      // songs whose messages have all reached the user
    bool stop = false;

    auto converter = [&] {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || next >= count || next < told + lookahead; });
                if (stop || next >= count || Cancelled(options))
                    return;
                index = next++;
            }
            changed.notify_all();
            if (earlier[index] < count)
                channels.WaitUntilFinished(earlier[index]);
            OrderedChannels::Channel channel(channels, index);
            channels.Finish(index, ConvertRow(paths, index, plan, conversion, makeBackups(), channel));
        }
    };
    std::vector<std::thread> converters;
    for (std::size_t i = 0; i < workers; ++i)
        converters.emplace_back(converter);

    std::vector<ConversionOutcome> outcomes;
    for (std::size_t index = 0; index < count; ++index) {
        {
            std::unique_lock lock(mutex);
            // A Cancel arrives from outside without a notification, so the wait looks again now and then.
            while (index >= next && !Cancelled(options))
                changed.wait_for(lock, std::chrono::milliseconds(20));
            if (index >= next) {
                stop = true;
                break;
            }
        }
        ui.Progress(index, count, paths[index]);
        outcomes.push_back(channels.Drain(index, deliver));
        {
            std::lock_guard lock(mutex);
            told = index + 1;
        }
        changed.notify_all();
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
    }
    changed.notify_all();
    for (std::thread& thread : converters)
        thread.join();
    return outcomes;
}

} // namespace

unsigned DefaultJobs()
{
    // The cores online; 0 when the system cannot tell.
    return std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
}

std::vector<ConversionOutcome> ConvertFiles(const std::vector<std::string>& paths, const Conversion& conversion,
                                            const std::function<bool()>& makeBackups,
                                            UserInteraction& ui, const BatchOptions& options)
{
    // What a killed run left behind goes once per folder, before any song of it is written.
    std::set<std::string> folders;
    for (const std::string& path : paths)
        if (folders.insert(FolderOf(path)).second)
            RemoveStaleTemporaryFiles(FolderOf(path));

    RememberedAnswers remembered(ui);
    const Deliver deliver = [&](const UserMessage& message) { return remembered.Deliver(message, paths.size() > 1); };
    const std::vector<ConversionOutcome> outcomes =
        options.Jobs <= 1 ? ConvertOneAfterAnother(paths, conversion, makeBackups, ui, options, deliver)
                          : ConvertSeveralAtOnce(paths, conversion, makeBackups, ui, options, deliver);
    ui.Progress(outcomes.size(), paths.size(), {});

    const bool stopped = outcomes.size() < paths.size();
    UserMessage done = stopped ? UserMessage("Conversion stopped after " + std::to_string(outcomes.size()) + " of " +
                                                 std::to_string(paths.size()) + " files.",
                                             "Stopped", MessageStyle::Information)
                               : UserMessage("Conversion complete!", "Complete", MessageStyle::Information);
    if (const std::string summary = remembered.Summary(); !summary.empty()) {
        done.Text += "\n" + summary;
        done.Details = remembered.Details();
    }
    ui.Show(done);
    return outcomes;
}

} // namespace brivane
