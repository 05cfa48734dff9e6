#pragma once
// Menu C: relay functions, analog outputs, comparator.

void initTablesMenuC();
// true reads menu C from the converter; false writes it and sets sens to true.
void transfertMenuC(bool& sens);
void libellesMenuC();
