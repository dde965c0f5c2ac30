#pragma once
// The command-line modes speak for themselves in one line per failure on
// stderr; Qt's own notes about the headless platform (runtime folder, fonts)
// would only add noise there. Critical and fatal messages still go out.

// Installs the filter for the rest of the process; call before the
// application object is made, so its notes are filtered too.
void QuietQtMessages();
