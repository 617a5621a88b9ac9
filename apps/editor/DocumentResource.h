#pragma once
// String resources of the editor's document (Document.rc, included by the
// editor's own resource script).
#define IDS_ASK_SAVE_PROJECT 103
#define IDS_CANNOT_SAVE_TABLE 110
#define IDS_EDITOR_TITLE 57344
