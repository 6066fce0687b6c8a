// Searching a recipe by name, creating one, deleting one.
#include "ricette.h"
#include "ui_ricette.h"

#include "datasource.h"
#include "dialogs.h"
#include "schema.h"

void Ricette::Command7_Click() {}
void Ricette::cmdInserisci_Click() {}
void Ricette::cmdCancella_Click() {}
