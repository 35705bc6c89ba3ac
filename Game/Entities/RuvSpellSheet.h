#pragma once
// The spell rows of the level's spells. Empty until the spells are read.

class RuvSpellSheet {};
