#include "engine/tables.h"
#include "noise/tables.h"

void arb_init_Tables(sfuncSystem* doc)
{
  doc->fractal.tables = &doc->tables;
  arb_init_Tables(&doc->tables);
}

void arb_compRndVecTable(sfuncSystem* doc)
{
  doc->fractal.tables = &doc->tables;
  arb_compRndVecTable(&doc->tables);
}

void SetRndTempTables(sfuncSystem* doc, short seed)
{
  doc->fractal.tables = &doc->tables;
  SetRndTempTables(&doc->tables, seed);
}
