#include "io_error.h"

namespace sorv {

std::string IoErrorText(int code) {
    switch (code) {
    case 2: return "Fichier introuvable";
    case 3: return "Nom de fichier incorrect";
    case 4: return "Trop de fichiers ouverts";
    case 5: return "Accès au fichier refusé";
    case 19: return "Disque protégé en écriture";
    case 32: return "Fichier utilisé par un autre programme";
    case 33: return "Fichier verrouillé par un autre programme";
    case 80:
    case 183: return "Un fichier de ce nom existe déjà";
    case 100: return "Lecture au delà de la fin de fichier";
    case 101: return "Disque plein";
    case 106: return "Saisie numérique incorrecte";
    case 206: return "Nom de fichier trop long";
    case 223: return "Fichier trop grand pour ce disque";
    case 1117: return "Erreur matérielle de lecture ou d'écriture";
    case 1295: return "Quota de disque dépassé";
    default: return "Erreur E/S " + std::to_string(code);
    }
}

}  // namespace sorv
