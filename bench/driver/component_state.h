// The component's registration as both registering paths leave it: six
// values under HKLM\Software\Classes and the type library's key. Each
// measured run starts from none of it and must end with all of it, so that
// both sides do the same work and a run that did not register is not timed.
#pragma once

// Removes the class keys and the type library's registration; false, with a
// note, when some of it is still there afterwards.
bool ClearComponentRegistration(void);
// True when the six values name `serverPath` and the type library beside
// it is registered; notes the first difference otherwise.
bool ComponentRegisteredAt(const char *serverPath);
