#pragma once

#include <string>

class SqliteDb;

// The demo platform: accounts "demo"/"demo123", "locked"/"locked123" (locked) and
// "poor"/"poor123" (balance 0.05), a few dozen projects of all three types, favourites of
// "demo" and a pool of numbers per project (two projects have none).
void seedDemo(SqliteDb &db);

// The seeded numbers are 11 digits; this is the one of index i in project pid's pool.
std::string seededMobile(int pid, int index);
