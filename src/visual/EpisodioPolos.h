#ifndef EPISODIOPOLOS_H
#define EPISODIOPOLOS_H

#include <string>
#include <vector>

#include "CTablaCsv.h"

// Pictures of a pole-balancing episode, from episodio.csv (one line per
// sample: time in s, cart position in m, the two poles' angles from upright
// in rad, and the force in N).

extern const char* const kArchivoEpisodio;

std::vector<std::string> ColumnasEpisodio();

// Cart position and pole angles (in degrees) over time, as charts.
std::string GraficasEpisodio(const CTablaCsv& episodio);
// Snapshots of cart and poles at nCuadros instants, one row each, drawn to
// scale on the track.
std::string TiraEpisodio(const CTablaCsv& episodio, int nCuadros);

#endif
