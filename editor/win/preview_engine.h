// The engine as the preview uses it, behind a few functions: the engine's
// headers and the editor's share some type names, so only preview_engine.cpp
// includes the former.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphics.h"

class TComponent;
class TSkinData;

// The main window's engine component with the preview's settings: active,
// tag 99 disabling, main-form type, menus updated and not merged, no
// options, the preview's control kinds and other libraries' classes, the
// stored package `stored` loaded, and a filter that lets only windows of
// class "TForm1" be skinned. Owned by `owner`.
TSkinData* CreatePreviewSkinData(TComponent* owner, const std::vector<uint8_t>& stored);

// The engine calls wherever the preview shows: SkinFile, then Active.
void ShowPackageInEngine(TSkinData* data, const std::string& path);
bool EngineActive(const TSkinData* data);
// The manager lists at least one skinned form.
bool EngineSkinsAnyForm();

// The skinned window photographed from the screen, clipped to the region
// its skin gives it; outside it `photo` shows `background`. False (photo
// unchanged) when the window has no live form skinner of its own or no size.
bool PhotographSkinnedWindow(HWND window, TColor background, TBitmap& photo);
