#pragma once

// Start-up, the event loop and shutdown. Returns the process's exit code.
int RunInstaller();
