// Check of an AVI clip before the media stack reads it: the clip is a RIFF file whose chunks
// each say how long they are, and the stack follows those lengths.
#pragma once
#include "inspect/ResourceFormats.h"

namespace salva {

// True when the bytes start with a RIFF "AVI " form whose length fits in them, and every chunk
// inside it, down through its lists (at most 16 deep), lies within the list that holds it.
bool CheckAviClip(const ResourceBytes& clip);

}  // namespace salva
