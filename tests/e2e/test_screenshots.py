"""Every step of the automatic play-through looks as in the committed goldens
(see screenshots.py; scripts/update-goldens rewrites them)."""

import screenshots

if __name__ == "__main__":
    screenshots.main()
