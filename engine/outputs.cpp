#include "outputs.h"

#include <utility>

namespace sorv {

Outputs::~Outputs() {
    try {
        Discard();
    } catch (...) {
        // A destructor reports nothing; the files were the flow's to remove.
    }
}

std::unique_ptr<File> Outputs::Create(const std::string& path, bool temporary) {
    auto file = temporary ? fs_.CreateTemporary(path) : fs_.CreateNew(path);
    try {
        outputs_.push_back({path, file->Identity()});
    } catch (...) {
        // Not known by identity: it is removed by name while it is surely ours.
        file.reset();
        fs_.Delete(path);
        throw;
    }
    return file;
}

Outputs::Output* Outputs::Find(const std::string& path) {
    for (Output& output : outputs_)
        if (output.path == path) return &output;
    return nullptr;
}

void Outputs::Rename(const std::string& from, const std::string& to, bool replace, File* held) {
    fs_.Rename(from, to, replace);
    Output* output = Find(from);
    if (!output) return;
    output->path = to;
    if (!held) return;
    const std::optional<FileId> now = fs_.IdentityOf(to);
    if (now && !(*now == output->id) && *now == held->Identity()) output->id = *now;
}

std::optional<FileId> Outputs::Registered(const std::string& path) {
    const Output* output = Find(path);
    return output ? std::optional<FileId>(output->id) : std::nullopt;
}

void Outputs::Keep(const std::string& path) {
    if (Output* output = Find(path)) outputs_.erase(outputs_.begin() + (output - outputs_.data()));
}

bool Outputs::StillThere(const std::string& path) {
    const Output* output = Find(path);
    return output != nullptr && fs_.IdentityOf(path) == output->id;
}

std::vector<std::pair<std::string, Removal>> Outputs::Discard() {
    std::vector<std::pair<std::string, Removal>> kept;
    while (!outputs_.empty()) {
        const Output output = std::move(outputs_.back());
        outputs_.pop_back();
        const Removal removal = fs_.RemoveExactly(output.path, output.id);
        if (removal == Removal::Replaced || removal == Removal::Failed) kept.emplace_back(output.path, removal);
    }
    return kept;
}

}  // namespace sorv
