#ifndef SCENECOUNTERS_H
#define SCENECOUNTERS_H

#include <tuple>

// The numbers a scene gives to what comes next: the id of the next item
// (nbItems) and, per kind, the number in the next default name ("Carré 3").
struct SceneCounters {
    int nbCarre = 0;
    int nbRoundedCarre = 0;
    int nbTriangle = 0;
    int nbRectangle = 0;
    int nbRoundedRectangle = 0;
    int nbPentagone = 0;
    int nbCercle = 0;
    int nbText = 0;
    int nbMath = 0;
    int nbImage = 0;
    int nbItems = 0;
    int nbArrows = 0;

    auto tied() const
    {
        return std::tie(nbCarre, nbRoundedCarre, nbTriangle, nbRectangle, nbRoundedRectangle,
                        nbPentagone, nbCercle, nbText, nbMath, nbImage, nbItems, nbArrows);
    }
    bool operator==(const SceneCounters &other) const { return tied() == other.tied(); }
    bool operator!=(const SceneCounters &other) const { return !(*this == other); }
};

#endif // SCENECOUNTERS_H
