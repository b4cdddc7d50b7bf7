#include "engine.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "io_error.h"
#include "scope_guards.h"
#include "sizes.h"

namespace sorv {

Engine::Engine(FrontEnd& frontEnd, FileSystem& fileSystem, PathStyle style)
    : ui_(frontEnd), fs_(fileSystem), style_(style), copier_(frontEnd, state.CancelRequested) {}

std::string Engine::SliceFileName(const std::string& path, std::int64_t n) const {
    return sorv::SliceFileName(path, n, style_);
}

std::string Engine::ScriptFileName(const std::string& path) const { return sorv::ScriptFileName(path, style_); }

std::int64_t Engine::FileSizeOf(const std::string& path) { return fs_.SizeOf(path); }

bool Engine::RefuseWhileRunning() {
    if (!flowRunning_) return false;
    ui_.AppendLog("Demande refusée : un découpage ou un regroupement est en cours.");
    return true;
}

void Engine::Fail(const std::string& line) {
    ui_.ReportFailure(line);
    result_ = Outcome::Failed;
}

void Engine::SayStopped() {
    ui_.AppendLog("Arrêt.");
    state.CancelRequested = false;
}

void Engine::RefuseLiveRun(LiveRun run, const std::string& scriptPath) {
    // Named by the set's script: another source of the same base name
    // writes the same set, and a join and a repair hold the same lock.
    ui_.ReportFailure((run == LiveRun::Split ? "Un découpage vers " : "Un regroupement ou une réparation de ") +
                      scriptPath + " est déjà en cours.");
    result_ = Outcome::Refused;
}

void Engine::DiscardOutputs(Outputs& outputs) {
    for (const auto& [path, removal] : outputs.Discard())
        SayNotRemoved(path, removal, "Laissé en place, ce n'est plus le fichier écrit ici : ");
}

std::string Engine::InTheWay(const std::string& path) {
    return path + " n'est pas un fichier, et ce nom doit servir à écrire : déplacez-le.";
}

void Engine::SayNotRemoved(const std::string& path, Removal removal, const std::string& replacedLine) {
    if (removal == Removal::Replaced) ui_.AppendLog(replacedLine + path);
    // Read-only (a copy from a CD-ROM), or a medium that refuses: said, not passed over.
    if (removal == Removal::Failed) ui_.AppendLog("Non effacé, le système le refuse : " + path);
}

// Opens what is under a partial name and tries its lock: a live run holds
// it; once that run's process is gone, the system has released it.
Engine::Leftover Engine::ProbeLeftover(const std::string& path) {
    Leftover found;
    found.kind = fs_.KindOf(path);
    if (found.kind != EntryKind::File) return found;
    try {
        found.held = fs_.OpenRead(path);
    } catch (const IoError&) {
        return found;  // not readable: not a run's file either
    }
    if (!found.held->TryLock()) {
        found.held.reset();
        found.live = true;
    }
    return found;
}

// A join or a repair holds its partial file, and a join its rebuilt file
// until its clean-up ends: looked at in that order, as the file moves from
// the one name to the other.
bool Engine::SetHeldByARun(const std::string& scriptPath) {
    return ProbeLeftover(PartialJoinName(scriptPath, style_)).live || RebuiltFileHeld(JoinTarget(scriptPath));
}

// Another program may lock a file of the user's under that name: only one of
// the very size this set rebuilds, and with a run's lock, can be a join's.
bool Engine::RebuiltFileHeld(const std::string& target) {
    if (fs_.KindOf(target) != EntryKind::File || fs_.SizeOf(target) != state.RecordedSize) return false;
    try {
        return !fs_.OpenRead(target)->RunLockFree();
    } catch (const IoError&) {
        return false;  // not readable: not a run's file either
    }
}

// The script read, for a join, a check or a repair; false when it is the
// partial script of a split still running (said): it reads like a whole one,
// and a join or a repair from it would write over that split's files.
bool Engine::LoadScript(const std::string& scriptPath) {
    RequireFile(scriptPath);
    ReadScript(scriptPath);
    if (!script_.Source || !ProbeLeftover(scriptPath).live) return true;
    RefuseLiveRun(LiveRun::Split, ScriptFileName(scriptPath));
    return false;
}

Outcome Engine::RunFlow(const std::function<void()>& flow) {
    // The engine state is shared: a request arriving during the message runs
    // of a running flow would overwrite it under that flow's feet.
    if (RefuseWhileRunning()) return Outcome::Refused;
    FlagScope running(flowRunning_);
    ScopeExit ended([this] {
        // A stop asked too late to act on must not stop the next flow at its first slice.
        state.CancelRequested = false;
        ui_.FlowEnded();
    });
    result_ = Outcome::Stopped;
    flow();
    return result_;
}

// A path that names no file stops a flow before it shows or logs anything:
// the values of the previous file would stand in for the missing one.
void Engine::RequireFile(const std::string& path) {
    if (path.empty()) throw std::runtime_error("Aucun fichier n'est nommé.");
    if (fs_.Exists(path)) return;
    const EntryKind kind = fs_.KindOf(path);
    if (kind == EntryKind::Folder) throw std::runtime_error(path + " est un dossier, pas un fichier.");
    // A FIFO, a device, a link to a folder: there, but not a file to read.
    if (kind == EntryKind::Other && fs_.IdentityOf(path)) throw IoError(kAccessDenied, path);
    throw IoError(2, path);
}

Outcome Engine::StartSplit(std::string path) {
    return RunFlow([&] {
        RequireFile(path);
        // From an open handle: what a link leads to, and on Windows not a
        // hard link's directory entry, whose size may lag behind the file's.
        state.SourceSize = static_cast<std::int64_t>(fs_.OpenRead(path)->Size());
        state.SourceName = NamePartOf(path, style_);
        FormatSizeText();
        ui_.ShowSliceSizeDialog(state, "Fichier: " + state.SourceName, "Taille: " + state.SourceSizeText);
        if (!state.DialogAccepted) return;
        SetSliceSize();
        CountSlices();
        LogSplitSettings();
        if (state.NeedsSplit) {
            copier_.RunMessages();
            PrepareSplit(path);
        } else {
            ui_.ShowMessage("Pas besoin de couper");
        }
    });
}

Outcome Engine::StartJoin(std::string scriptPath) {
    return RunFlow([&] {
        if (!LoadScript(scriptPath)) return;
        // A live join or repair of this set: stop at once, before saying
        // what it is rebuilding is missing. The copy takes the lock itself.
        if (SetHeldByARun(scriptPath)) return RefuseLiveRun(LiveRun::Join, scriptPath);
        ui_.AppendLog("Fichier ouvert :" + scriptPath);
        ui_.AppendLog("Nom original :" + state.RecordedName);
        ui_.AppendLog("Taille originale :" + std::to_string(state.RecordedSize) + "octet(s)");
        ui_.AppendLog("Nombre de tranches :" + std::to_string(state.RecordedSliceCount));
        ui_.AppendLog("Vérification de l'existence des tranches");
        state.SlicesVerified = true;
        const std::int64_t missing = VerifySlices(scriptPath);
        // A missing slice that recovery slices could have rebuilt: say why they do not.
        if (!state.SlicesVerified) return SayRecoveryUnused();
        if (!ScriptIsSound(scriptPath)) return;
        SayRecoveryUnused();
        if (RecoveryUsable() && ASliceBeliesTheSize(scriptPath)) return SayNotRebuilt(scriptPath);
        if (LostBeforeTheCopy(scriptPath)) return;
        // Slices missing from a set that can rebuild them: not "OK" yet, and no
        // promise either, since the copy may still find a damaged slice.
        ui_.AppendLog(missing == 0 ? std::string("Vérification OK.")
                                   : "Il manque " + std::to_string(missing) +
                                         " tranche(s) : elles seront reconstituées à partir des tranches de secours"
                                         " si le reste du jeu est intact.");
        copier_.RunMessages();
        JoinSlices(scriptPath);
    });
}

Outcome Engine::Dispatch(std::string path) {
    return IsScriptExtension(ExtensionOf(path, style_)) ? StartJoin(std::move(path)) : StartSplit(std::move(path));
}

void Engine::EscapePressed() {
    if (state.Busy) AskToStop();
}

bool Engine::AskToStop() {
    if (askingToStop_) return false;
    const FlagScope asking(askingToStop_);
    if (ui_.AskPlain("Voulez-vous arreter le traitement?") != Answer::Yes) return false;
    state.CancelRequested = true;
    return true;
}

}  // namespace sorv
