#pragma once
// Mirelda's two device choosers (RapiFileBrowse and RapiFolderBrowse, each
// opening its own device session), found beside the plug-in's own file when
// first needed: a plug-in that imported them would only load, and
// register, where the loader finds Mirelda.dll.
namespace vorlan::filesync {

// The chooser's end code (IDOK with the chosen path in outPath, IDCANCEL),
// or -1 when Mirelda.dll or its export cannot be loaded.
int BrowseDeviceFile(char* outPath, int outSize, const char* initialPath);
int BrowseDeviceFolder(char* outPath, int outSize, const char* initialFolder);

}  // namespace vorlan::filesync
