// Converting the recipe to another number of portions, and replacing a line's ingredient.
#include "ricette.h"
#include "ui_ricette.h"

#include "datasource.h"
#include "dialogs.h"
#include "schema.h"

double Ricette::convertiQuantita(double q, double r)
{
    return q * r;
}

void Ricette::Text2_KeyPress(int &) {}
void Ricette::Command5_Click() {}
void Ricette::Command8_Click() {}
void Ricette::SostituisciRigaIngrediente() {}
