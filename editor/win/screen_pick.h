// Picking a colour from anywhere on the screen: the screen is photographed
// and shown full-screen; a click takes the pixel under the mouse, Escape
// gives up.
#pragma once

#include <cstdint>
#include <functional>

class TComponent;

// Shows the picking form (non-modal); `picked` gets the colour (0x00BBGGRR)
// after the form has closed.
void PickScreenColour(TComponent* owner, std::function<void(uint32_t colour)> picked);
