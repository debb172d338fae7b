// The data menu's export and import and the find commands: not built yet,
// each does nothing. An import must go through CloseTables and OpenTables.
#include "Dbf.h"

void TFDbf::ExportClick() {}
void TFDbf::ImportClick() {}
void TFDbf::FindFirmClick() {}
void TFDbf::FindNextFirmClick() {}
void TFDbf::FindRepreClick() {}
void TFDbf::FindNextRepreClick() {}
