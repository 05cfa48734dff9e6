#pragma once
// Destinations of a copy, read from the destination text of the copy dialog:
// one number ("7"), or a list of numbers and ranges ("1 4,8 12"). A number
// 0 is partition 1, one above the partition count is the last partition; the
// source is never a destination. A range "R,N" runs from N towards R.

#include <QString>

#include <vector>

std::vector<int> destinationsCopie(const QString& texte, int source, int nbPartitions);
