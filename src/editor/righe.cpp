// The ingredient lines of the current recipe: the grid, the ingredient list and its
// completion, new ingredients, quantities, adding, picking and deleting lines.
#include "ricette.h"
#include "ui_ricette.h"

#include "datasource.h"
#include "dialogs.h"
#include "schema.h"

void Ricette::svuotaGriglia() {}
void Ricette::CaricaListaIngredienti() {}
void Ricette::CercaNomeIngrediente() {}
void Ricette::CaricaGriglia() {}
void Ricette::ScriviRigaIngrediente() {}
void Ricette::CancellaRigaIngrediente() {}
void Ricette::AggiungiIngredienteArchivio() {}
void Ricette::IngredienteScelto_KeyUp(int) {}
void Ricette::IngredienteScelto_LostFocus() {}
void Ricette::ListaIngredienti_DblClick() {}
void Ricette::ListaIngredienti_KeyPress(int &) {}
void Ricette::Command3_Click() {}
void Ricette::Command4_Click() {}
void Ricette::Text1_KeyPress(int &) {}
void Ricette::Text1_LostFocus() {}
void Ricette::Qta_GotFocus() {}
void Ricette::Qta_LostFocus() {}
void Ricette::Qta_KeyPress(int &) {}
void Ricette::Command1_Click() {}
void Ricette::GridRicette_Click() {}
void Ricette::Command2_Click() {}
