#pragma once
// The EPUB choices of the window (cover, look) as the program's settings keep them between runs.

#include "epub/EpubCommands.h"

namespace brisna {

// The choices last saved; out-of-range values read as the defaults.
EpubChoices SavedEpubChoices();
void SaveEpubChoices(const EpubChoices& choices);

}  // namespace brisna
