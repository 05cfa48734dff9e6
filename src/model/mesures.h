#pragma once
// Working display measurement codes.

void initCodesMesures();
