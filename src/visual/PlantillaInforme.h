#ifndef PLANTILLAINFORME_H
#define PLANTILLAINFORME_H

// The report page's fixed parts: its style sheet and the script that plays
// a recorded match on a canvas. Both go inline into informe.html.
const char* EstiloInforme();
const char* GuionReproductor();

#endif
