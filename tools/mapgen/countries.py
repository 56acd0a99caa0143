"""What the map shows: the 34 quiz countries, their boxes, and how the source
countries are grouped into them."""

# Collection order.  (Name, ID, X, Y, Width, Height, source countries).
# The boxes are fixed: the quiz window's layout and the game's tests rely on
# them, so the geometry is warped onto them rather than the other way round.
# Source names are the Natural Earth "name" property of world-atlas.
QUIZ = [
    ("Norway", 0, 151, 2, 90, 162, ["Norway"]),
    ("Sweden", 1, 183, 33, 48, 156, ["Sweden"]),
    ("Finland", 2, 207, 13, 71, 112, ["Finland"]),
    ("Estonia", 3, 255, 120, 31, 24, ["Estonia"]),
    ("Latvia", 4, 249, 140, 46, 28, ["Latvia"]),
    ("Lithuania", 5, 250, 159, 38, 27, ["Lithuania"]),
    ("Belarus", 6, 274, 151, 62, 57, ["Belarus"]),
    # Crimea is joined to Ukraine.
    ("Ukraine", 7, 282, 177, 117, 86, ["Ukraine", "Russia:crimea"]),
    ("Moldava", 8, 314, 233, 23, 27, ["Moldova"]),
    ("Romania", 9, 274, 238, 74, 56, ["Romania"]),
    ("Bulgaria", 10, 300, 279, 46, 40, ["Bulgaria"]),
    ("Greece", 11, 294, 312, 44, 61, ["Greece"]),
    ("Albania", 12, 280, 314, 17, 31, ["Albania"]),
    # The quiz's Serbia is the former union with Montenegro, Kosovo included.
    ("Serbia", 13, 264, 276, 41, 46, ["Serbia", "Montenegro", "Kosovo"]),
    ("Bosnia", 14, 243, 291, 32, 24, ["Bosnia and Herz."]),
    ("Croatia", 15, 227, 278, 41, 35, ["Croatia"]),
    # The microstates are too small to click; they go to a neighbour so that
    # no unclickable hole is left inside the map.
    ("Italia", 16, 175, 280, 104, 92, ["Italy", "San Marino", "Vatican"]),
    ("Swiss", 17, 168, 276, 36, 20, ["Switzerland", "Liechtenstein"]),
    ("Austria", 18, 198, 255, 52, 27, ["Austria"]),
    ("Germany", 19, 165, 201, 63, 78, ["Germany"]),
    ("Netherlands", 20, 147, 215, 24, 28, ["Netherlands"]),
    ("Belgium", 22, 141, 237, 26, 20, ["Belgium"]),
    ("France", 23, 90, 243, 93, 94, ["France", "Monaco"]),
    ("Spain", 24, 49, 320, 101, 85, ["Spain", "Andorra"]),
    # Great Britain only; Northern Ireland belongs to the island of Ireland.
    ("United Kingdom", 25, 87, 158, 49, 94, ["United Kingdom"]),
    ("Ireland", 26, 55, 194, 35, 42, ["Ireland", "United Kingdom:northern-ireland"]),
    ("Iceland", 27, 12, 56, 48, 39, ["Iceland"]),
    ("Macedonia", 28, 289, 313, 23, 18, ["Macedonia"]),
    ("Slovakia", 29, 248, 239, 35, 24, ["Slovakia"]),
    ("Czech Republic", 30, 209, 233, 48, 27, ["Czechia"]),
    ("Poland", 31, 216, 184, 72, 62, ["Poland"]),
    ("Portugal", 32, 42, 338, 31, 55, ["Portugal"]),
    ("Slovenia", 33, 226, 276, 21, 19, ["Slovenia"]),
    ("Luxemburg", 21, 164, 252, 4, 5, ["Luxembourg"]),
]

# Parts taken from a source country: the polygon whose box centre (longitude,
# latitude) falls inside the window given.
PARTS = {
    "Russia:crimea": ((32.0, 37.0), (44.0, 46.5)),
    "United Kingdom:northern-ireland": ((-8.5, -5.0), (54.0, 55.5)),
}

LUXEMBOURG = "Luxemburg"

# The small country's outline is fixed to the digit; its neighbours are
# snapped onto it.  Clockwise on the screen from the northern tip.
LUXEMBOURG_POINTS = [
    (float("165.1428571428571"), float("251.7496928746929")),
    (float("167.8857142857143"), float("255.7238943488944")),
    (float("165.1428571428571"), float("256.7174447174447")),
    (float("164.2285714285715"), float("255.7238943488944")),
    (float("164.2285714285715"), float("252.7432432432432")),
]
# Which neighbour owns each stretch of that outline, as runs of vertex
# indices (clockwise): the German border from the northern tripoint to the
# Moselle, the French one round the south, the Belgian one up the west side.
LUXEMBOURG_BORDERS = [("Germany", [0, 1]), ("France", [1, 2, 3]), ("Belgium", [3, 4, 0])]

# The picture: its size and the window of the world it shows.
WIDTH = 400
HEIGHT = 407
# Outline vertices must stay inside this part of the picture.
INNER = (12, 2, 399, 405)
