#pragma once

#include <map>
#include <memory>
#include <string>

#include "CliInteraction.h"
#include "core/changes/ChangeFeed.h"
#include "core/storage/Options.h"

namespace vx {
class EditScheme;
class Session;
}  // namespace vx

namespace vxcli {

// Exit statuses: 0 success, 1 failure, 2 a usage error.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// What every command shares: the program directory, the interaction with the person, and the
// session with its edit scheme, started on first use.
class CliContext {
public:
    explicit CliContext(std::string programDirectory);
    ~CliContext();

    CliInteraction ui;
    int exitStatus = kExitSuccess;
    // Whether each set's window would offer Undo, as the scheme announces it.
    std::map<int, bool> undoOffered;

    // The session, with the catalogue and the preset names read; nullptr after telling why
    // they could not be read.
    vx::Session* Session();
    vx::EditScheme& Scheme();
    // Opens an existing set directory (once, however often it is named); 0 after saying why not.
    int OpenExisting(const std::string& path);
    // Writes every kind of the set into the NAME.SET directory dest, as Save As does; an
    // existing set is overwritten only when the person said yes. Returns the exit status.
    int SaveInto(int set, const std::string& dest);

private:
    std::string programDirectory_;
    vx::Options options_;
    std::unique_ptr<vx::Session> session_;
    vx::ChangeFeed::Subscription undoChanges_;
    std::unique_ptr<vx::EditScheme> scheme_;
};

}  // namespace vxcli
