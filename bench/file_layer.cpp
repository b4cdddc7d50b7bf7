// The engine on the Win32 file layer against a plain copier doing the same
// work with ReadFile and WriteFile: the same slices of 1.4 Mo, the same
// buffer, the same fingerprints of each slice and of the whole file. Both run
// in this one process, alternately, so that neither a process start nor a
// console stands in the measure; which goes first alternates.
//
//   bench_file_layer RUNS FILE
//
// FILE is split beside itself; the join rebuilds it in a folder "join" made
// beside it. Prints the medians and the ratios engine / plain.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "copy_buffer.h"
#include "engine.h"
#include "fingerprint.h"
#include "utf16.h"

namespace {

using sorv::Answer;

constexpr DWORD kSliceSize = 1'433'600;  // "1.4 Mo"

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "file_layer: %s (error %lu)\n", what.c_str(), GetLastError());
    std::exit(2);
}

// Chooses 1.4 Mo, keeps the slices after a join, logs nowhere.
class SilentFrontEnd final : public sorv::FrontEnd {
public:
    void AppendLog(const std::string&) override {}
    void ClearLog() override {}
    void ReportFailure(const std::string& line) override { Fail(line); }
    void SetProgressMax(std::int64_t) override {}
    void AdvanceProgress(std::int64_t) override {}
    void ResetProgress() override {}
    void ShowMessage(const std::string& text) override { Fail(text); }
    Answer AskWarning(const std::string&) override { return Answer::No; }
    Answer AskConfirmation(const std::string&) override { return Answer::No; }
    Answer AskPlain(const std::string&) override { return Answer::No; }
    void ShowSliceSizeDialog(sorv::EngineState& state, const std::string&, const std::string&) override {
        state.SizeChoice = 4;
        state.DialogAccepted = true;
    }
    void ProcessMessages() override {}
};

class Handle {
public:
    explicit Handle(HANDLE h, const std::wstring& path) : h_(h) {
        if (h_ == INVALID_HANDLE_VALUE) Fail("cannot open " + sorv::Narrow(path));
    }
    ~Handle() { CloseHandle(h_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

HANDLE OpenToRead(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

HANDLE CreateToWrite(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Copies up to `limit` bytes, fingerprinting them; returns the bytes copied.
DWORD CopyPart(HANDLE from, HANDLE to, DWORD limit, std::vector<std::byte>& buffer, sorv::Fingerprint& part,
               sorv::Fingerprint& whole) {
    DWORD copied = 0;
    while (copied < limit) {
        DWORD got = 0;
        const DWORD want = std::min<DWORD>(static_cast<DWORD>(buffer.size()), limit - copied);
        if (!ReadFile(from, buffer.data(), want, &got, nullptr)) Fail("read");
        if (got == 0) break;
        const std::span<const std::byte> bytes(buffer.data(), got);
        part.Add(bytes);
        whole.Add(bytes);
        DWORD written = 0;
        if (!WriteFile(to, buffer.data(), got, &written, nullptr) || written != got) Fail("write");
        copied += got;
    }
    return copied;
}

std::wstring SliceName(const std::wstring& stem, int n) {
    wchar_t number[16];
    swprintf(number, 16, L".\u00b0%02d", n);
    return stem + number;
}

void PlainSplit(const std::wstring& source, const std::wstring& stem) {
    Handle in(OpenToRead(source), source);
    std::vector<std::byte> buffer(sorv::kCopyBufferSize);
    sorv::Fingerprint slice, whole;
    for (int n = 1;; ++n) {
        const std::wstring name = SliceName(stem, n);
        DWORD copied = 0;
        {
            Handle out(CreateToWrite(name), name);
            slice.Reset();
            copied = CopyPart(in.get(), out.get(), kSliceSize, buffer, slice, whole);
        }
        if (copied < kSliceSize) {
            if (copied == 0) DeleteFileW(name.c_str());
            break;
        }
    }
}

void PlainJoin(const std::wstring& stem, const std::wstring& target) {
    Handle out(CreateToWrite(target), target);
    std::vector<std::byte> buffer(sorv::kCopyBufferSize);
    sorv::Fingerprint slice, whole;
    for (int n = 1;; ++n) {
        const std::wstring name = SliceName(stem, n);
        HANDLE h = OpenToRead(name);
        if (h == INVALID_HANDLE_VALUE) break;
        Handle in(h, name);
        slice.Reset();
        CopyPart(in.get(), out.get(), MAXDWORD, buffer, slice, whole);
    }
}

void RemoveSlices(const std::wstring& stem) {
    for (int n = 1; DeleteFileW(SliceName(stem, n).c_str()); ++n) {
    }
    DeleteFileW((stem + L".d").c_str());
}

template <class Work>
double Timed(Work work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

// Where the engine splits (beside FILE) and joins (in "join" beside it),
// and one round of the four measures, the engine's and the plain copier's.
class Rounds {
public:
    explicit Rounds(const std::wstring& source)
        : source_(source),
          folder_(source.substr(0, source.find_last_of(L"\\/") + 1)),
          stem_(source.substr(0, source.find_last_of(L'.'))),
          joinFolder_(folder_ + L"join\\") {
        const std::wstring name = source.substr(folder_.size());
        joinStem_ = joinFolder_ + name.substr(0, name.find_last_of(L'.'));
        rebuilt_ = joinFolder_ + name;
        CreateDirectoryW(joinFolder_.c_str(), nullptr);
    }
    ~Rounds() {
        RemoveSlices(joinStem_);
        RemoveDirectoryW(joinFolder_.c_str());
    }

    // Which of the two goes first alternates: each pays in turn for the
    // clean-up of the other's files.
    void Run(bool engineFirst) {
        if (engineFirst) {
            EngineSplit();
            PlainSplitRun();
            EngineJoin();
            PlainJoinRun();
        } else {
            PlainSplitRun();
            EngineSplit();
            PlainJoinRun();
            EngineJoin();
        }
    }

    double engineSplit = 0, plainSplit = 0, engineJoin = 0, plainJoin = 0;

private:
    void EngineSplit() {
        RemoveSlices(stem_);
        engineSplit = Timed([&] {
            if (engine_.StartSplit(sorv::Narrow(source_)) != sorv::Outcome::Completed) Fail("the engine's split");
        });
        // The engine's slices and script go to the join folder for the joins.
        RemoveSlices(joinStem_);
        for (int n = 1; MoveFileW(SliceName(stem_, n).c_str(), SliceName(joinStem_, n).c_str()); ++n) {
        }
        MoveFileW((stem_ + L".d").c_str(), (joinStem_ + L".d").c_str());
    }
    void PlainSplitRun() {
        RemoveSlices(stem_);
        plainSplit = Timed([&] { PlainSplit(source_, stem_); });
        RemoveSlices(stem_);
    }
    void EngineJoin() {
        DeleteFileW(rebuilt_.c_str());
        engineJoin = Timed([&] {
            if (engine_.StartJoin(sorv::Narrow(joinStem_ + L".d")) != sorv::Outcome::Completed) Fail("the engine's join");
        });
        DeleteFileW(rebuilt_.c_str());
    }
    void PlainJoinRun() {
        DeleteFileW(rebuilt_.c_str());
        plainJoin = Timed([&] { PlainJoin(joinStem_, rebuilt_); });
        DeleteFileW(rebuilt_.c_str());
    }

    std::wstring source_, folder_, stem_, joinFolder_, joinStem_, rebuilt_;
    SilentFrontEnd ui_;
    sorv::Engine engine_{ui_, sorv::NativeFileSystem()};
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_file_layer RUNS FILE\n");
        return 64;
    }
    const int runs = _wtoi(argv[1]);
    std::vector<double> engineSplit, plainSplit, engineJoin, plainJoin;
    {
        Rounds rounds(argv[2]);
        for (int run = 0; run <= runs; ++run) {  // run 0 warms the page cache up
            rounds.Run(run % 2 == 0);
            if (run == 0) continue;
            engineSplit.push_back(rounds.engineSplit);
            plainSplit.push_back(rounds.plainSplit);
            engineJoin.push_back(rounds.engineJoin);
            plainJoin.push_back(rounds.plainJoin);
        }
    }
    const double es = Median(engineSplit), ps = Median(plainSplit), ej = Median(engineJoin), pj = Median(plainJoin);
    std::printf("split_ms %.1f plain_ms %.1f ratio %.3f\n", es, ps, es / ps);
    std::printf("join_ms %.1f plain_ms %.1f ratio %.3f\n", ej, pj, ej / pj);
    return 0;
}
