#include "core/currentreading.h"

CurrentReading &currentReading()
{
  static CurrentReading reading;
  return reading;
}
