#pragma once
// Device data (menu A) and the full upload.

void chargerMenuA();
// Menu A, menu C (when not held) and every partition from the converter.
// A partition marked modified keeps its unsent values. False when the
// upload did not complete on line.
bool chargerTout();
