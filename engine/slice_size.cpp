// The engine's slice-size operations over its state.
#include "engine.h"
#include "sizes.h"

namespace sorv {

void Engine::FormatSizeText() { state.SourceSizeText = sorv::FormatSizeText(state.SourceSize); }

void Engine::ChoiceLabel() { state.SliceSizeLabel = SliceLabelFor(state.SizeChoice); }

void Engine::SetSliceSize() {
    state.SliceSize = SliceSizeFor(state.SizeChoice);
    state.NeedsSplit = state.SourceSize >= state.SliceSize;
}

void Engine::CountSlices() { state.SliceCount = sorv::CountSlices(state.SourceSize, state.SliceSize); }

void Engine::LogSplitSettings() {
    ChoiceLabel();
    ui_.AppendLog("Taille maximum de la tranche :" + state.SliceSizeLabel);
    ui_.AppendLog("Nom du fichier : " + state.SourceName);
    ui_.AppendLog("Taille du fichier : " + std::to_string(state.SourceSize) + " octet(s).");
}

}  // namespace sorv
