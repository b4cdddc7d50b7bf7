#include "engine.h"

#include <algorithm>
#include <utility>

#include "sizes.h"

#include "scope_guards.h"

namespace sorv {

Engine::Engine(FrontEnd& frontEnd, FileSystem& fileSystem, PathStyle style)
    : ui_(frontEnd), fs_(fileSystem), style_(style) {}

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

void Engine::RunMessages() {
    ui_.ProcessMessages();
    if (const auto now = ui_.ClockMicroseconds()) cadence_.Ran(*now);
}

Engine::PacedCopy Engine::CopyPaced(File& from, File& to, std::uint64_t maxBytes, CopyBuffer& buffer,
                                    ByteObserver* observer, std::int64_t& progressDone) {
    PacedCopy result;
    if (!ui_.ClockMicroseconds()) {
        result.copied = from.CopyTo(to, maxBytes, buffer, observer);
        return result;
    }
    while (result.copied < maxBytes) {
        const std::uint64_t piece = std::min(sizer_.Next(), maxBytes - result.copied);
        const std::int64_t start = ui_.ClockMicroseconds().value_or(0);
        const std::uint64_t got = from.CopyTo(to, piece, buffer, observer);
        result.copied += got;
        const std::int64_t now = ui_.ClockMicroseconds().value_or(0);
        sizer_.Took(got, now - start);
        if (got < piece) break;  // the source ran out
        if (result.copied == maxBytes || !cadence_.Due(now)) continue;
        // The bar shows the whole blocks copied so far.
        const auto blocks = static_cast<std::int64_t>(result.copied / kBlockSize) * kBlockSize;
        ui_.AdvanceProgress(blocks - progressDone);
        progressDone = blocks;
        RunMessages();
        if (state.CancelRequested) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

Outcome Engine::RunFlow(const std::function<void()>& flow) {
    // The engine state is shared: a request arriving during the message runs
    // of a running flow would overwrite it under that flow's feet.
    if (RefuseWhileRunning()) return Outcome::Refused;
    FlagScope running(flowRunning_);
    ScopeExit ended([this] { ui_.FlowEnded(); });
    result_ = Outcome::Stopped;
    flow();
    return result_;
}

Outcome Engine::StartSplit(std::string path) {
    return RunFlow([&] {
        if (fs_.Exists(path)) state.SourceSize = FileSizeOf(path);
        state.SourceName = NamePartOf(path, style_);
        FormatSizeText();
        ui_.ShowSliceSizeDialog(state, "Fichier: " + state.SourceName, "Taille: " + state.SourceSizeText);
        if (!state.DialogAccepted) return;
        SetSliceSize();
        CountSlices();
        LogSplitSettings();
        if (state.NeedsSplit) {
            RunMessages();
            PrepareSplit(path);
        } else {
            ui_.ShowMessage("Pas besoin de couper");
        }
    });
}

Outcome Engine::StartJoin(std::string scriptPath) {
    return RunFlow([&] {
        if (fs_.Exists(scriptPath)) ReadScript(scriptPath);
        ui_.AppendLog("Fichier ouvert :" + scriptPath);
        ui_.AppendLog("Nom original :" + state.RecordedName);
        ui_.AppendLog("Taille originale :" + std::to_string(state.RecordedSize) + "octet(s)");
        ui_.AppendLog("Nombre de tranches :" + std::to_string(state.RecordedSliceCount));
        // Without them the size and count read as 0: an empty file would be
        // rebuilt and called a success.
        if (!missingScriptKeys_.empty()) {
            Fail("Script incomplet, il manque " + missingScriptKeys_ + " : " + scriptPath);
            return;
        }
        ui_.AppendLog("Vérification de l'existence des tranches");
        state.SlicesVerified = true;
        VerifySlices(scriptPath);
        if (!state.SlicesVerified) return;
        ui_.AppendLog("Vérification OK.");
        RunMessages();
        JoinSlices(scriptPath);
    });
}

Outcome Engine::Dispatch(std::string path) {
    return IsScriptExtension(ExtensionOf(path, style_)) ? StartJoin(std::move(path)) : StartSplit(std::move(path));
}

void Engine::EscapePressed() {
    if (!state.Busy) return;
    if (ui_.AskPlain("Voulez-vous arreter le traitement?") == Answer::Yes) state.CancelRequested = true;
}

}  // namespace sorv
