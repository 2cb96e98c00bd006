// Folders a case lays out for itself in the prefix, so that no case depends
// on what an earlier one left there.
#pragma once

struct FolderFile {
    const char *source; // full path of the file to copy
    const char *name;   // its name in the folder
};

// Creates `folder` if needed, deletes every file in it, then copies the
// listed files in. False (with a note) when any step fails.
bool PrepareFolder(const char *folder, const FolderFile *files, int count);
bool FileExists(const char *path);
// Both files can be read and hold the same bytes.
bool SameFileContent(const char *first, const char *second);
// Files in `folder` (subfolders not counted), or -1 if it cannot be listed.
int CountFiles(const char *folder);
