// Resource ids of Morvik.dll.
#pragma once

#define IDR_GETSERIAL 101      // the registry script, type "REGISTRY"
#define IDS_PROJNAME 100       // the project name (not read by the code)
