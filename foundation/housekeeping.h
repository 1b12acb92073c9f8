// Memory housekeeping of a relocatable heap. This program's blocks never
// move and the system hands memory back on its own, so each returns at once.
#pragma once

void CleanMemory();
void Crunch();
void CrunchMemAndSysMem();
