#include "memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "io_error.h"

namespace sorv::test {

namespace {

using Node = MemoryFileSystem::Node;
using Segment = MemoryFileSystem::Segment;

void Append(Node& node, const Segment& piece) {
    if (piece.length == 0) return;
    if (!node.segments.empty()) {
        Segment& last = node.segments.back();
        if (!last.bytes && !piece.bytes && last.offset + last.length == piece.offset) {
            last.length += piece.length;
            node.size += piece.length;
            return;
        }
    }
    node.segments.push_back(piece);
    node.size += piece.length;
}

// Calls visit(segment piece) for the part of node covering [start, start + length).
template <typename Visit>
void ForRange(const Node& node, std::uint64_t start, std::uint64_t length, Visit visit) {
    std::uint64_t at = 0;
    for (const Segment& s : node.segments) {
        const std::uint64_t end = at + s.length;
        if (end > start && at < start + length) {
            const std::uint64_t from = std::max(start, at);
            const std::uint64_t to = std::min(start + length, end);
            visit(Segment{s.bytes, s.offset + (from - at), to - from});
        }
        at = end;
        if (at >= start + length) break;
    }
}

bool IsFolderName(const std::string& path) { return path.empty() || path.back() == '\\' || path.back() == '/'; }

std::string NamePart(const std::string& path) {
    const auto last = path.find_last_of("\\/");
    return last == std::string::npos ? path : path.substr(last + 1);
}

FileId IdOf(const Node& node) { return {1, node.serial}; }

// A range of the pattern stands for itself by its place: what the observer
// sees still changes with the bytes that are moved.
void ObserveRange(const Segment& s, ByteObserver& observer) {
    if (s.bytes) {
        observer.Observe(std::as_bytes(std::span(s.bytes->data() + s.offset, s.length)));
        return;
    }
    const std::uint64_t description[2] = {s.offset, s.length};
    observer.Observe(std::as_bytes(std::span(description)));
}

class MemoryFile : public File {
public:
    MemoryFile(std::shared_ptr<Node> node, MemoryFileSystem* fs = nullptr) : node_(std::move(node)), fs_(fs) {}
    ~MemoryFile() override { Close(); }

    std::size_t Read(std::span<std::byte> buffer) override {
        const std::uint64_t n = std::min<std::uint64_t>(buffer.size(), node_->size - std::min(position_, node_->size));
        std::size_t out = 0;
        ForRange(*node_, position_, n, [&](const Segment& s) {
            for (std::uint64_t k = 0; k < s.length; ++k)
                buffer[out++] = s.bytes ? static_cast<std::byte>((*s.bytes)[s.offset + k]) : PatternByteAt(s.offset + k);
        });
        position_ += out;
        return out;
    }
    void Write(std::span<const std::byte> bytes) override {
        auto data = std::make_shared<std::string>(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        // Written at the position: what lies before stays, a gap reads as
        // zeros, what comes after the new bytes stays too.
        Node before;
        ForRange(*node_, 0, std::min(position_, node_->size), [&](const Segment& s) { Append(before, s); });
        if (position_ > node_->size)
            Append(before, Segment{std::make_shared<std::string>(position_ - node_->size, '\0'), 0, position_ - node_->size});
        Append(before, Segment{data, 0, data->size()});
        const std::uint64_t end = position_ + data->size();
        if (end < node_->size) ForRange(*node_, end, node_->size - end, [&](const Segment& s) { Append(before, s); });
        node_->segments = std::move(before.segments);
        node_->size = before.size;
        position_ = end;
        ++node_->version;
    }
    void Seek(std::uint64_t offset) override { position_ = offset; }
    FileStamp Stamp() override { return {node_->size, node_->version, node_->version}; }
    bool TryLock() override {
        if (node_->locked && !locking_) return false;
        node_->locked = locking_ = true;
        return true;
    }
    void Rewrite(std::span<const std::byte> bytes) override {
        node_->segments.clear();
        node_->size = 0;
        position_ = 0;
        Write(bytes);
    }
    bool AtEnd() override { return position_ >= node_->size; }
    std::uint64_t Size() override { return node_->size; }
    void Close() override {
        if (locking_) node_->locked = locking_ = false;
    }
    std::unique_ptr<File> CloseKeepingLock() override {
        auto kept = std::make_unique<MemoryFile>(node_, fs_);
        kept->locking_ = std::exchange(locking_, false);
        return kept;
    }
    FileId Identity() override { return IdOf(*node_); }
    void Reserve(std::uint64_t bytes) override {
        if (fs_) fs_->largestReservation = std::max(fs_->largestReservation, bytes);
    }
    std::uint64_t CopyTo(File& dest, std::uint64_t maxBytes, CopyBuffer& buffer,
                         ByteObserver* observer) override {
        auto* target = dynamic_cast<MemoryFile*>(&dest);
        if (!target || (observer && !(fs_ && fs_->observeRangesOnly))) return File::CopyTo(dest, maxBytes, buffer, observer);
        const std::uint64_t n = std::min(maxBytes, node_->size - std::min(position_, node_->size));
        std::vector<Segment> pieces;
        ForRange(*node_, position_, n, [&](const Segment& s) { pieces.push_back(s); });
        for (const Segment& s : pieces) {
            Append(*target->node_, s);
            if (observer) ObserveRange(s, *observer);
        }
        target->position_ = target->node_->size;
        ++target->node_->version;
        position_ += n;
        return n;
    }

private:
    std::shared_ptr<Node> node_;
    MemoryFileSystem* fs_;
    std::uint64_t position_ = 0;
    bool locking_ = false;
};

}  // namespace

MemoryFileSystem::Node::Node() {
    static std::uint64_t next = 0;
    serial = ++next;
}

std::byte PatternByteAt(std::uint64_t offset) {
    // Varies within every block and from one gigabyte to the next.
    return static_cast<std::byte>((offset * 31 + (offset >> 11) * 7 + (offset >> 30)) % 251);
}

std::shared_ptr<Node> MemoryFileSystem::Find(const std::string& path) const {
    const auto it = files_.find(path);
    return it == files_.end() ? nullptr : it->second;
}

void MemoryFileSystem::AddPatternFile(const std::string& path, std::uint64_t size) {
    auto node = std::make_shared<Node>();
    Append(*node, Segment{nullptr, 0, size});
    files_[path] = node;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& bytes) {
    auto node = std::make_shared<Node>();
    Append(*node, Segment{std::make_shared<std::string>(bytes), 0, bytes.size()});
    files_[path] = node;
}

void MemoryFileSystem::AddHardLink(const std::string& path, const std::string& existing) {
    files_[path] = Find(existing);
}

bool MemoryFileSystem::HoldsPatternPrefix(const std::string& path, std::uint64_t length) const {
    const auto node = Find(path);
    if (!node || node->size != length) return false;
    std::uint64_t expected = 0;
    for (const Segment& s : node->segments) {
        if (s.bytes) {
            for (std::uint64_t k = 0; k < s.length; ++k)
                if (static_cast<std::byte>((*s.bytes)[s.offset + k]) != PatternByteAt(expected + k)) return false;
        } else if (s.offset != expected) {
            return false;
        }
        expected += s.length;
    }
    return true;
}

std::string MemoryFileSystem::Contents(const std::string& path) const {
    const auto node = Find(path);
    if (!node) return {};
    std::string out(node->size, '\0');
    MemoryFile file(node);
    file.Read(std::as_writable_bytes(std::span(out.data(), out.size())));
    return out;
}

std::vector<std::string> MemoryFileSystem::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : files_) names.push_back(entry.first);
    return names;
}

bool MemoryFileSystem::Exists(const std::string& path) { return Find(path) != nullptr; }

EntryKind MemoryFileSystem::KindOf(const std::string& path) {
    if (Find(path)) return EntryKind::File;
    return IsFolderName(path) ? EntryKind::Folder : EntryKind::None;
}

std::optional<FileId> MemoryFileSystem::IdentityOf(const std::string& path) {
    const auto node = Find(path);
    return node ? std::optional<FileId>(IdOf(*node)) : std::nullopt;
}

void MemoryFileSystem::CheckNewName(const std::string& path) {
    const std::string name = NamePart(path);
    if (name.empty()) throw IoError(3, path);
    if (name.size() > nameMax) throw IoError(kNameTooLong, path);
}

std::uint32_t MemoryFileSystem::GetAttributes(const std::string& path) {
    const auto node = Find(path);
    if (!node) throw IoError(2);
    return node->attributes;
}

void MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    const auto node = Find(path);
    if (!node) throw IoError(2);
    node->attributes = attributes;
}

std::int64_t MemoryFileSystem::SizeOf(const std::string& path) {
    const auto node = Find(path);
    return node ? static_cast<std::int64_t>(node->size) : -1;
}

bool MemoryFileSystem::Delete(const std::string& path) { return files_.erase(path) > 0; }

Removal MemoryFileSystem::RemoveExactly(const std::string& path, const FileId& expected) {
    const auto node = Find(path);
    if (!node) return Removal::Missing;
    if (!(IdOf(*node) == expected)) return Removal::Replaced;
    files_.erase(path);
    return Removal::Removed;
}

// Memory is the medium: the file is there or it is not.
bool MemoryFileSystem::MakeDurable(const std::string& path, const FileId& expected) {
    const auto node = Find(path);
    return node && IdOf(*node) == expected;
}

std::unique_ptr<File> MemoryFileSystem::OpenRead(const std::string& path) {
    const auto node = Find(path);
    if (!node) throw IoError(2, path);
    return std::make_unique<MemoryFile>(node, this);
}

std::unique_ptr<File> MemoryFileSystem::CreateNew(const std::string& path) {
    if (beforeCreate) beforeCreate(path);
    if (IsFolderName(path)) throw IoError(5, path);
    if (Find(path)) throw IoError(80, path);
    CheckNewName(path);
    auto node = std::make_shared<Node>();
    files_[path] = node;
    return std::make_unique<MemoryFile>(node, this);
}

void MemoryFileSystem::Rename(const std::string& from, const std::string& to, bool replace) {
    const auto node = Find(from);
    if (!node) throw IoError(2, from);
    if (!replace && Find(to)) throw IoError(80, to);
    files_.erase(from);
    files_[to] = node;
    if (renumberOnRename) node->serial = Node().serial;
}

}  // namespace sorv::test
