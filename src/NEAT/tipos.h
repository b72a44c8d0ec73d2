#ifndef TIPOS_H
#define TIPOS_H

#include <vector>

typedef std::vector<double> TVecDoubles;
typedef std::vector<int> TVecInts;

#endif
