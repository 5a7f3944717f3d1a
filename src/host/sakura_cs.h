// The root of the host object's class hierarchy. It has no data and no
// operation of its own.
#pragma once

class SakuraCS {};
