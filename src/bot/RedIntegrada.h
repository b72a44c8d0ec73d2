#ifndef REDINTEGRADA_H
#define REDINTEGRADA_H

// The network built into the robot, in the scrambled text form. Its source
// file is generated (tools/red2literal) and replaced whole by training.
extern const char* const kRedIntegrada;

#endif
