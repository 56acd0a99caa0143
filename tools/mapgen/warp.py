"""A smooth displacement of the whole picture plane: a cubic B-spline grid of
control displacements.  One field moves every country, island and border
alike, so shared borders stay shared and nothing opens or overlaps, as long as
the field does not fold (checked through its Jacobian)."""

import numpy as np
import scipy.sparse as sp
import scipy.sparse.linalg as spla


def _weights(t):
    t2, t3 = t * t, t * t * t
    w = np.stack([(1 - t) ** 3, 3 * t3 - 6 * t2 + 4, -3 * t3 + 3 * t2 + 3 * t + 1, t3], axis=-1) / 6.0
    d = np.stack([-(1 - t) ** 2, 3 * t2 - 4 * t, -3 * t2 + 2 * t + 1, t2], axis=-1) / 2.0
    return w, d


class Grid:
    def __init__(self, spacing, x_range, y_range):
        self.h = float(spacing)
        self.x0 = float(x_range[0])
        self.y0 = float(y_range[0])
        self.nx = int(np.ceil((x_range[1] - x_range[0]) / self.h)) + 1
        self.ny = int(np.ceil((y_range[1] - y_range[0]) / self.h)) + 1
        self.n = self.nx * self.ny

    def basis(self, pts, derivative=None):
        """Sparse matrix (points x controls) of the spline weights at pts, or of
        the weights' derivative along 'x' or 'y'.  Controls beyond the grid count
        as zero, so the field fades to no displacement outside it."""
        pts = np.asarray(pts, dtype=float)
        u = (pts[:, 0] - self.x0) / self.h
        v = (pts[:, 1] - self.y0) / self.h
        ku, kv = np.floor(u), np.floor(v)
        wu, du = _weights(u - ku)
        wv, dv = _weights(v - kv)
        if derivative == "x":
            wu = du / self.h
        elif derivative == "y":
            wv = dv / self.h
        ku, kv = ku.astype(np.int64), kv.astype(np.int64)
        rows, cols, vals = [], [], []
        idx = np.arange(len(pts))
        for a in range(4):
            ju = ku - 1 + a
            for b in range(4):
                jv = kv - 1 + b
                ok = (ju >= 0) & (ju < self.nx) & (jv >= 0) & (jv < self.ny)
                rows.append(idx[ok])
                cols.append((jv * self.nx + ju)[ok])
                vals.append((wu[:, a] * wv[:, b])[ok])
        return sp.csr_matrix(
            (np.concatenate(vals), (np.concatenate(rows), np.concatenate(cols))), shape=(len(pts), self.n)
        )

    def regulariser(self, bending, membrane, ridge):
        """Quadratic penalty on the control values: bending (second differences),
        stretching (first differences) and size."""
        ix = np.arange(self.n).reshape(self.ny, self.nx)

        def op(stencil):
            # stencil: list of ((dy, dx), coefficient)
            dys = [d[0] for d, _ in stencil]
            dxs = [d[1] for d, _ in stencil]
            y_lo, y_hi = -min(dys), self.ny - max(dys)
            x_lo, x_hi = -min(dxs), self.nx - max(dxs)
            base = ix[y_lo:y_hi, x_lo:x_hi].ravel()
            m = len(base)
            rows, cols, vals = [], [], []
            for (dy, dx), c in stencil:
                rows.append(np.arange(m))
                cols.append(base + dy * self.nx + dx)
                vals.append(np.full(m, float(c)))
            return sp.csr_matrix(
                (np.concatenate(vals), (np.concatenate(rows), np.concatenate(cols))), shape=(m, self.n)
            )

        dxx = op([((0, -1), 1), ((0, 0), -2), ((0, 1), 1)])
        dyy = op([((-1, 0), 1), ((0, 0), -2), ((1, 0), 1)])
        dxy = op([((0, 0), 1), ((0, 1), -1), ((1, 0), -1), ((1, 1), 1)])
        dx = op([((0, 0), -1), ((0, 1), 1)])
        dy = op([((0, 0), -1), ((1, 0), 1)])
        r = bending * (dxx.T @ dxx + 2.0 * (dxy.T @ dxy) + dyy.T @ dyy)
        r = r + membrane * (dx.T @ dx + dy.T @ dy) + ridge * sp.identity(self.n)
        return r.tocsc()


class Warp:
    def __init__(self, grid, cx, cy):
        self.grid = grid
        self.cx = cx
        self.cy = cy

    def displacement(self, pts):
        b = self.grid.basis(pts)
        return np.column_stack([b @ self.cx, b @ self.cy])

    def apply(self, pts):
        pts = np.asarray(pts, dtype=float)
        return pts + self.displacement(pts)

    def jacobian_det(self, pts):
        bx = self.grid.basis(pts, "x")
        by = self.grid.basis(pts, "y")
        a = 1.0 + bx @ self.cx
        b = by @ self.cx
        c = bx @ self.cy
        d = 1.0 + by @ self.cy
        return a * d - b * c


def divergence_ops(grid):
    """Per grid cell: the change of the x values across the cell and of the y
    values down it, each averaged over the cell's two sides.  Applied to the
    x and y control values and summed, this is the cell's divergence."""
    ix = np.arange(grid.n).reshape(grid.ny, grid.nx)
    base = ix[:-1, :-1].ravel()
    m = len(base)
    rows = np.concatenate([np.arange(m)] * 4)

    def mat(offsets):
        cols = np.concatenate([base + o for o, _ in offsets])
        vals = np.concatenate([np.full(m, c) for _, c in offsets])
        return sp.csr_matrix((vals, (rows, cols)), shape=(m, grid.n))

    nx = grid.nx
    gx = mat([(0, -0.5), (1, 0.5), (nx, -0.5), (nx + 1, 0.5)])
    gy = mat([(0, -0.5), (nx, 0.5), (1, -0.5), (nx + 1, 0.5)])
    return gx, gy


def fit(grid, constraints, weight=1.0e4, bending=1.0, membrane=1.0, ridge=1.0e-4, divergence=1000.0):
    """Least-squares field that moves each constrained point's coordinate onto
    its target; constraints are (point, axis, target) with axis 0 for x and 1
    for y.  The regulariser keeps the field smooth and small; the divergence
    term makes it prefer shearing to squeezing, so areas keep their size."""
    reg = grid.regulariser(bending, membrane, ridge)
    blocks, rhs = [], []
    for axis in (0, 1):
        cs = [c for c in constraints if c[1] == axis]
        pts = np.array([c[0] for c in cs], dtype=float)
        b = np.array([c[2] - c[0][axis] for c in cs], dtype=float)
        a = grid.basis(pts)
        blocks.append(reg + weight * (a.T @ a))
        rhs.append(weight * (a.T @ b))
    gx, gy = divergence_ops(grid)
    m = sp.bmat([[blocks[0] + divergence * (gx.T @ gx), divergence * (gx.T @ gy)],
                 [divergence * (gy.T @ gx), blocks[1] + divergence * (gy.T @ gy)]]).tocsc()
    c = spla.spsolve(m, np.concatenate(rhs))
    return Warp(grid, c[: grid.n], c[grid.n:])
