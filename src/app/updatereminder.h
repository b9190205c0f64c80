#pragma once

// At start-up, offers to check for a newer version once 15 or more days lie
// between the day stored in the settings and today.
void CheckUpdateReminder();
