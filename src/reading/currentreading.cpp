#include "reading/currentreading.h"

CurrentReading &currentReading()
{
  static CurrentReading reading;
  return reading;
}
