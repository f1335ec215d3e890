#pragma once
// Resource identifiers shared by the resource script and the code that reads the resources.
#define TARVO_ICON 1
#define TARVO_PICTURE 101
#define TARVO_LIBRARY_PAYLOAD 102
#define TARVO_HELP_PAYLOAD 103
