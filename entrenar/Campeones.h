#ifndef CAMPEONES_H
#define CAMPEONES_H

#include <cstdint>
#include <string>
#include <vector>

// Leaders of earlier generations of a run, fielded as rivals. It is part of
// the run's state: the same list and the same seeds give the same matches,
// so a resumed run must get back the list it had.
struct SCampeones {
    std::vector<std::string> vsRedes;  // network texts, oldest first
};

// The list keeps the latest leaders: an older one leaves when it is full.
const size_t kMaxCampeones = 10;

// Adds a generation's leader; a network already on the list is not added
// twice.
void AnyadirCampeon(SCampeones& campeones, const std::string& sRed);

// The champion that the rival in place nPuesto of the match with seed
// nSemilla meets; null while the list is empty.
const std::string* ElegirCampeon(const SCampeones& campeones, uint64_t nSemilla, size_t nPuesto);

// Plain-text form for a checkpoint: "campeones N", then per network
// "red BYTES" and the text itself on the following line(s).
std::string TextoCampeones(const SCampeones& campeones);
// Reads TextoCampeones' form whole, or changes nothing and says why.
bool LeerCampeones(const std::string& sTexto, SCampeones& campeones, std::string& sError);

#endif
