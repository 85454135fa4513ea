// Holds the embedded artwork resources.
