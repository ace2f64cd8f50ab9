#ifndef VELQTMATHTEXT_H
#define VELQTMATHTEXT_H

// Placeholder until the formula engine lands.
class VelQTmathText
{
};

#endif // VELQTMATHTEXT_H
