#pragma once
// The table for assistive technology: the table widget with one child, the card or pile
// in keyboard focus, named in Spanish ("5 de Copas, boca arriba, en la pila 3").

// Registers the interface of the table widget; once per run is enough.
void InstalarTapeteAccesible();
