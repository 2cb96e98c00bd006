// The state every registration case starts from: no component layout, no
// type library registration, no record or counter of the sample registrar,
// and an empty copy destination.
#pragma once

// True once all of it holds (each failure is in the transcript).
bool StartFromKnownState(void);
